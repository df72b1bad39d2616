#include "run/rename_run.h"

#include "folder_listing.h"
#include "name_set.h"
#include "natural_order.h"
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

// True when the folder's files are the rows' edited names, no more, no fewer.
bool holdsExactly(const std::vector<std::string>& files, const RenameList& list) {
    if (files.size() != list.size())
        return false;
    NameSet present(files.size());
    for (const std::string& name : files)
        present.insert(name);
    for (const RenameRow row : list.rows())
        if (!present.contains(row.editedName()))
            return false;
    return true;
}

// The one read after a completed run. Where the folder holds exactly the rows'
// new names, those are put in order in memory: the same order a fresh listing
// would give, without its collation of names the list already holds. Anything
// else means another process changed the folder meanwhile: then this read is
// listed as a load would list it, and FinishRun names the missing files.
void readBack(const RunRequest& request, RunResult& result) {
    FolderContents contents = ReadFolder(request.folder, FileOrder::AsRead);
    if (contents.error) {
        result.reloaded.error = std::move(contents.error);
        return;
    }
    const RenameList& list = *request.rows;
    if (holdsExactly(contents.files, list)) {
        contents = {};
        std::vector<std::string_view> names;
        names.reserve(list.size());
        for (const RenameRow row : list.rows())
            names.push_back(row.editedName());
        result.order = naturalOrder(names);
        return;
    }
    for (const RenameRow row : list.rows())
        if (row.editedName() != row.listedName())
            result.expectedNames.emplace_back(row.editedName());
    sortNaturally(contents.files);
    result.reloaded.names = std::move(contents.files);
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

std::variant<CommitOutcome, RunRequest> PrepareRename(RenameList& list, const std::string& folder) {
    const bool noDuplicates = list.CheckDuplicateNames();
    const bool noBlanks = list.CheckBlankNames();
    if (!noDuplicates || !noBlanks)
        return CommitOutcome{CommitOutcome::Kind::Refused, kRenameRefusedMessage, false, false};
    RunRequest request{folder, {}};
    for (std::size_t i = 0; i < list.size(); ++i) {
        const RenameRow row = list.row(i);
        if (row.editedName() != row.listedName())
            request.moves.push_back({i, row.listedName(), row.editedName()});
    }
    request.rows = &list;
    // Even with nothing to move the folder is read again, off the window's thread.
    return request;
}

RunResult ExecuteRun(RunRequest request, const RunControl& control) {
    EngineRun run{request.folder, {}, Journal::Kind::Rename, {}, request.rows != nullptr};
    run.moves.reserve(request.moves.size());
    for (const RunMove& move : request.moves)
        run.moves.push_back({move.from, move.to, {}, 0, move.row});
    // The engine's own moves carry the same names: a million of these is 40 MB.
    std::vector<RunMove>().swap(request.moves);
    RunResult result = runMoves(std::move(run), control);
    if (request.rows && result.kind == RunResult::Kind::Completed)
        readBack(request, result);
    return result;
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
    if (result.order) {
        list.adoptEditedNames(*result.order);
        outcome.listReloaded = true;
        outcome.protectedFileListed = !CheckProtectedFiles(folder, list);
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
