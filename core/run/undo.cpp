#include "run/journal_store.h"
#include "run/preflight.h"
#include "run/rename_run.h"
#include "run/run_engine.h"
#include "run/run_messages.h"

#include <unordered_map>

namespace velmorandi {
namespace {

RunResult refused(RunResult::Kind kind, std::string message) {
    RunResult result;
    result.kind = kind;
    result.message = std::move(message);
    result.reloaded.error = SystemError{0, "not read"};
    return result;
}

// Nothing when every file still bears the name the run gave it.
std::optional<std::string> changedSince(const std::string& folderPath, const Journal& journal,
                                        const OpenedFolder& folder) {
    std::unordered_map<std::string, std::uint64_t> identities;
    identities.reserve(folder.entries.size());
    for (const platform::FolderEntry& entry : folder.entries)
        identities.emplace(entry.name, entry.identity);
    for (const PlannedMove& move : journal.moves) {
        const std::string to(move.to);
        const auto found = identities.find(to);
        if (found == identities.end())
            return messages::undoFileGone(folderPath, to);
        if (journal.traits.stableIdentities && found->second != move.identity)
            return messages::undoFileReplaced(folderPath, to, std::string(move.from));
    }
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

    OpenedFolder folder;
    if (auto error = openFolder(folderPath, control.testing, folder))
        return refused(RunResult::Kind::Failed, messages::folderUnreadable(folderPath, *error));
    if (auto changed = changedSince(folderPath, *journal, folder))
        return refused(RunResult::Kind::Failed, std::move(*changed));

    std::vector<PlannedMove> back;
    back.reserve(journal->moves.size());
    for (std::size_t i = 0; i < journal->moves.size(); ++i)
        back.push_back({journal->moves[i].to, journal->moves[i].from, {}, 0, i});
    const Preflight check = checkMoves(back, folder.entries, folder.traits.ignoresCase);
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
