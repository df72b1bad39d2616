#include "run/rename_run.h"

#include "name_set.h"
#include "protected_files.h"
#include "rename_list.h"
#include "run/run_engine.h"
#include "run/run_messages.h"


namespace velmorandi {
namespace {

std::vector<std::string> missingNames(const std::vector<std::string>& listed,
                                      const std::vector<std::string>& expected) {
    NameSet present(listed.size());
    for (const std::string& name : listed)
        present.insert(name);
    std::vector<std::string> missing;
    for (const std::string& name : expected)
        if (!present.contains(name))
            missing.push_back(name);
    return missing;
}

void loadReloaded(RenameList& list, const std::string& folder, FolderListing& listing,
                  CommitOutcome& outcome) {
    list.load(std::move(listing.names), list.nameLimit()); // the same folder, the same limit
    outcome.listReloaded = true;
    outcome.protectedFileListed = !CheckProtectedFiles(folder, list);
}

CommitOutcome::Kind outcomeKind(RunResult::Kind kind) {
    switch (kind) {
    case RunResult::Kind::NameTaken:
        return CommitOutcome::Kind::NameTaken;
    case RunResult::Kind::Cancelled:
        return CommitOutcome::Kind::Cancelled;
    case RunResult::Kind::Completed:
        return CommitOutcome::Kind::Completed;
    case RunResult::Kind::Failed:
        break;
    }
    return CommitOutcome::Kind::Failed;
}

} // namespace

std::variant<CommitOutcome, RunRequest> PrepareRename(RenameList& list,
                                                      const std::string& folder) {
    const bool noDuplicates = list.CheckDuplicateNames();
    const bool noBlanks = list.CheckBlankNames();
    if (!noDuplicates || !noBlanks)
        return CommitOutcome{CommitOutcome::Kind::Refused, kRenameRefusedMessage, false, false};
    RunRequest request{folder, {}};
    for (std::size_t i = 0; i < list.size(); ++i) {
        const RenameRow row = list.row(i);
        if (row.editedName() != row.listedName())
            request.moves.push_back({i, std::string(row.listedName()), std::string(row.editedName())});
    }
    // Even with nothing to move the folder is read again, off the window's thread.
    return request;
}

RunResult ExecuteRun(const RunRequest& request, const RunControl& control) {
    EngineRun run{request.folder, {}, Journal::Kind::Rename, {}};
    run.moves.reserve(request.moves.size());
    for (const RunMove& move : request.moves)
        run.moves.push_back({move.from, move.to, {}, 0, move.row});
    return runMoves(std::move(run), control);
}

CommitOutcome FinishRun(RenameList& list, const std::string& folder, RunResult result) {
    CommitOutcome outcome{outcomeKind(result.kind), std::move(result.message), false, false};
    if (result.kind != RunResult::Kind::Completed) {
        for (const std::size_t row : result.errorRows)
            if (row < list.size())
                list.markError(row);
        if (!result.reloaded.error)
            loadReloaded(list, folder, result.reloaded, outcome);
        return outcome;
    }
    if (result.reloaded.error) {
        // Rows of names that are gone must not be renamed again.
        list.load({});
        outcome.listReloaded = true;
        outcome.message = messages::reloadFailed(*result.reloaded.error);
        return outcome;
    }
    const std::vector<std::string> missing =
        missingNames(result.reloaded.names, result.expectedNames);
    loadReloaded(list, folder, result.reloaded, outcome);
    list.ComposeEditedNames();
    list.MarkAllDone();
    if (!missing.empty())
        outcome.message = messages::missingAfterRun(missing);
    return outcome;
}

} // namespace velmorandi
