#include "run/run.h"

#include "run/journal_store.h"
#include "run/locate.h"
#include "run/preflight.h"
#include "run/restore.h"
#include "run/run_engine.h"

namespace velmorandi {
namespace {

RunResult refused(RunOutcome outcome, RunNews news) {
    return RunResult{outcome, std::move(news), {}, FolderNotRead{}};
}

RunNews newsOf(RunNews::Kind kind, const std::string& folder) {
    RunNews news;
    news.kind = kind;
    news.folder = folder;
    return news;
}

RunNews folderUnreadable(const std::string& folderPath, const SystemError& error) {
    RunNews news = newsOf(RunNews::Kind::NothingRenamed, {});
    news.failure = {RunFailure::Kind::FolderUnreadable, folderPath, {}, {}, error, {}, {}};
    return news;
}

// Undo takes a completed rename back; redo takes back the undo of one.
struct TakeBack {
    bool redo = false;
    Journal::Kind recorded() const { return redo ? Journal::Kind::Undo : Journal::Kind::Rename; }
    Journal::Kind run() const { return redo ? Journal::Kind::Rename : Journal::Kind::Undo; }
};

std::vector<PlannedMove> reversed(const Journal& journal) {
    std::vector<PlannedMove> back;
    back.reserve(journal.moves.size());
    for (std::size_t i = 0; i < journal.moves.size(); ++i)
        back.push_back({journal.moves[i].to, journal.moves[i].from, {}, 0, i});
    return back;
}

// Nothing when every file still bears the name the recorded run gave it, is
// the file it renamed, and can have its name back.
std::optional<RunNews> changedSince(const std::string& folderPath, const Journal& journal,
                                    const OpenedFolder& folder, const Disk& disk,
                                    const std::vector<PlannedMove>& back, const Preflight& check,
                                    TakeBack what) {
    const auto refusal = [&](RunNews::Kind kind, std::string_view name, std::string_view oldName) {
        RunNews news = newsOf(kind, folderPath);
        news.name = name;
        news.oldName = oldName;
        news.redo = what.redo;
        return news;
    };
    if (!check.missing.empty())
        return refusal(RunNews::Kind::TakeBackFileGone, back[check.missing.front()].from, {});
    std::vector<std::string> names;
    std::optional<SystemError> unreadable;
    for (std::size_t i = 0; i < back.size(); ++i) {
        const std::string name(back[i].from);
        const bool replaced =
            journal.traits.stableIdentities &&
            (back[i].identity != journal.moves[i].identity ||
             !isRunsFile(journal, folder.handle, disk, name, back[i].identity, unreadable));
        if (unreadable)
            return folderUnreadable(folderPath, *unreadable);
        if (replaced)
            return refusal(RunNews::Kind::TakeBackFileReplaced, name, back[i].to);
        names.push_back(name);
    }
    const bool copied = !journal.traits.stableIdentities &&
                        allYoungerThanRun(journal, folder.handle, disk, names, unreadable);
    if (unreadable)
        return folderUnreadable(folderPath, *unreadable);
    if (copied)
        return refusal(RunNews::Kind::TakeBackFolderReplaced, {}, {});
    if (!check.taken.empty())
        return refusal(RunNews::Kind::TakeBackNameTaken, {}, back[check.taken.front()].to);
    return std::nullopt;
}

std::optional<RunResult> refusal(const std::string& folderPath, const Journal& journal,
                                 std::vector<PlannedMove>& back, const RunContext& context,
                                 TakeBack what) {
    OpenedFolder folder;
    Preflight check;
    std::optional<SystemError> error = openFolder(folderPath, context, folder);
    if (!error && matchFolder(headerOf(journal), folderPath, folder) != FolderMatch::Own) {
        RunNews news = newsOf(RunNews::Kind::TakeBackFolderReplaced, folderPath);
        news.redo = what.redo;
        return refused(RunOutcome::Failed, std::move(news));
    }
    if (!error)
        error = checkMoves(folder.handle, context.disk, back, folder.traits.ignoresCase, {}, check);
    if (error)
        return refused(RunOutcome::Failed, folderUnreadable(folderPath, *error));
    if (auto changed = changedSince(folderPath, journal, folder, context.disk, back, check, what))
        return refused(check.taken.empty() ? RunOutcome::Failed : RunOutcome::NameTaken,
                       std::move(*changed));
    return std::nullopt;
}

RunResult takeBack(const std::string& folderPath, const RunControl& control, TakeBack what) {
    const RunContext context(control);
    const JournalStore& records = *context.records;
    if (records.problem()) {
        RunNews news = newsOf(RunNews::Kind::NothingRenamed, {});
        news.failure = {RunFailure::Kind::RecordsUnusable,
                        records.problem()->folder,
                        {},
                        {},
                        {},
                        records.problem(),
                        {}};
        return refused(RunOutcome::Failed, std::move(news));
    }
    // What the records last showed may be out of date: read anew before acting.
    const std::optional<JournalStore::Entry> last =
        records.lastComplete(context.disk, folderPath, JournalStore::Reading::Listed);
    const auto nothing = [&] {
        return refused(RunOutcome::Failed, newsOf(what.redo ? RunNews::Kind::NothingToRedo
                                                            : RunNews::Kind::NothingToUndo,
                                                  folderPath));
    };
    if (!last || last->header->kind != what.recorded())
        return nothing();
    // Held for the whole run, so that no other window takes the same run back meanwhile.
    JournalStore::Read read = records.read(context.disk, last->name, true);
    if (read.opened == platform::RecordFile::Opened::Held)
        return refused(RunOutcome::Failed, newsOf(RunNews::Kind::RecordInUse, folderPath));
    if (read.opened != platform::RecordFile::Opened::Yes || !read.decoded.journal)
        return nothing();
    const Journal& journal = *read.decoded.journal;
    // Its summary was read apart from the record held now: the whole must say the same.
    if (journal.folder != folderPath || journal.kind != what.recorded() ||
        journal.complete != Mark::Present)
        return nothing();
    std::vector<PlannedMove> back = reversed(journal);
    if (auto refused = refusal(folderPath, journal, back, context, what))
        return std::move(*refused);
    const std::size_t files = back.size();
    RunResult result = runAllOrNothing({.folder = folderPath,
                                        .moves = std::move(back),
                                        .kind = what.run(),
                                        .subject = what.redo ? std::string() : last->name,
                                        .rows = nullptr,
                                        .generation = 0,
                                        .way = std::nullopt,
                                        .subjectRecord = nullptr},
                                       context);
    result.errorRows.clear(); // the moves are no rows of the list
    // A redo is a rename to the engine; only Ctrl+Y starts it again.
    if (what.redo && result.news.failure.kind == RunFailure::Kind::Cancelled)
        result.news.failure.kind = RunFailure::Kind::RedoCancelled;
    if (result.outcome != RunOutcome::Completed)
        return result;
    // The run taken back is no longer the last of the folder; one whose
    // record cannot go now goes when later runs are pruned.
    static_cast<void>(records.remove(context.disk, read.file, last->name));
    if (!what.redo && result.news.kind == RunNews::Kind::None) {
        result.news.kind = RunNews::Kind::Undone;
        result.news.files = files;
    }
    return result;
}

bool lastIs(const std::string& folder, const RunControl& control, Journal::Kind kind) {
    const RunContext context(control);
    if (context.records->problem())
        return false;
    const std::optional<JournalStore::Entry> last =
        context.records->lastComplete(context.disk, folder);
    return last && last->header->kind == kind;
}

} // namespace

bool CanUndo(const std::string& folder, const RunControl& control) {
    return lastIs(folder, control, Journal::Kind::Rename);
}

bool CanRedo(const std::string& folder, const RunControl& control) {
    return lastIs(folder, control, Journal::Kind::Undo);
}

RunResult ExecuteUndo(const std::string& folder, const RunControl& control) {
    return takeBack(folder, control, TakeBack{false});
}

RunResult ExecuteRedo(const std::string& folder, const RunControl& control) {
    return takeBack(folder, control, TakeBack{true});
}

} // namespace velmorandi
