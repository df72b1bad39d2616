#include "run/journal_store.h"
#include "run/preflight.h"
#include "run/rename_run.h"
#include "run/run_engine.h"
#include "run/run_messages.h"

namespace velmorandi {
namespace {

RunResult refused(RunResult::Kind kind, std::string message) {
    RunResult result;
    result.kind = kind;
    result.message = std::move(message);
    result.reloaded.error = SystemError{0, "not read"};
    return result;
}

// Nothing when every file still bears the name the run gave it. `back` has
// been checked against the folder: its sources are the run's new names.
std::optional<std::string> changedSince(const std::string& folderPath, const Journal& journal,
                                        const std::vector<PlannedMove>& back,
                                        const Preflight& check) {
    const std::size_t firstGone =
        check.missing.empty() ? journal.moves.size() : check.missing.front();
    for (std::size_t i = 0; i < firstGone; ++i)
        if (journal.traits.stableIdentities && back[i].identity != journal.moves[i].identity)
            return messages::undoFileReplaced(folderPath, std::string(journal.moves[i].to),
                                              std::string(journal.moves[i].from));
    if (firstGone < journal.moves.size())
        return messages::undoFileGone(folderPath, std::string(journal.moves[firstGone].to));
    return std::nullopt;
}

} // namespace

bool CanUndo(const std::string& folder) {
    JournalStore store;
    return !store.open() && store.lastCompleteRun(folder).has_value();
}

RunResult ExecuteUndo(const std::string& folderPath, const RunControl& control) {
    JournalStore store;
    std::optional<JournalStore::Entry> last;
    if (!store.open())
        last = store.lastCompleteRun(folderPath);
    const std::optional<Journal> journal = last ? store.read(last->name) : std::nullopt;
    if (!journal)
        return refused(RunResult::Kind::Failed, messages::nothingToUndo(folderPath));

    std::vector<PlannedMove> back;
    back.reserve(journal->moves.size());
    for (std::size_t i = 0; i < journal->moves.size(); ++i)
        back.push_back({journal->moves[i].to, journal->moves[i].from, {}, 0, i});
    OpenedFolder folder;
    Preflight check;
    std::optional<SystemError> error = openFolder(folderPath, control.testing, folder);
    if (!error)
        error = checkMoves(folder.handle, back, folder.traits.ignoresCase, {}, check);
    if (error)
        return refused(RunResult::Kind::Failed, messages::folderUnreadable(folderPath, *error));
    if (auto changed = changedSince(folderPath, *journal, back, check))
        return refused(RunResult::Kind::Failed, std::move(*changed));
    if (!check.taken.empty())
        return refused(RunResult::Kind::NameTaken,
                       messages::undoNameTaken(folderPath, std::string(back[check.taken.front()].to)));
    // Rows of an undo are no rows of the list: no "Err!" marks.
    RunResult result =
        runMoves({folderPath, std::move(back), Journal::Kind::Undo, last->name}, control);
    result.errorRows.clear();
    return result;
}

} // namespace velmorandi
