#include "run/run.h"

#include "name_index.h"
#include "protected_files.h"
#include "rename_list.h"
#include "run/restore.h"
#include "run/run_engine.h"

namespace velmorandi {
namespace {

std::vector<std::string> missingNames(const std::vector<std::string>& listed,
                                      const std::vector<std::string>& expected) {
    NameIndex present(listed.size(), [&](std::uint32_t i) { return std::string_view(listed[i]); });
    present.assignAll(listed.size());
    std::vector<std::string> missing;
    for (const std::string& name : expected)
        if (present.find(name) == present.kNone)
            missing.push_back(name);
    return missing;
}

// The names of the run's files after it completed: every file it moved, and
// every listed row's file taking part, under its new name where it moved.
std::vector<std::string> namesAfterRun(const RenameList& list, const FolderListed& listed) {
    const std::vector<std::string>& former = listed.formerNames;
    NameIndex moved(former.size(), [&](std::uint32_t i) { return std::string_view(former[i]); });
    moved.assignAll(former.size());
    std::vector<std::string> names = listed.expectedNames;
    names.reserve(names.size() + list.size());
    // A row left out was not the run's: it reads nothing afterwards.
    for (const RenameRow row : list.rows())
        if (!row.leftOut() && moved.find(row.listedName()) == moved.kNone)
            names.emplace_back(row.listedName());
    return names;
}

// "Done" is for the files the run was given: one another program brought
// meanwhile was not renamed.
void markRowsDone(RenameList& list, const std::vector<std::string>& runFiles) {
    NameIndex files(runFiles.size(),
                    [&](std::uint32_t i) { return std::string_view(runFiles[i]); });
    files.assignAll(runFiles.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        if (files.find(list.row(i).listedName()) != files.kNone)
            list.markDone(i);
}

ListChange loadListing(RenameList& list, const std::string& folder,
                       std::vector<std::string> names) {
    list.load(names, list.nameLimit()); // the same folder, the same limit
    return {true, !CheckProtectedFiles(folder, list)};
}

// Another process changed the folder during the run, or not every file got
// its name back: only a fresh listing shows what is there.
ListChange finishListed(RenameList& list, const std::string& folder, FolderListed& listed,
                        RunResult& result) {
    const bool completed = result.outcome == RunOutcome::Completed;
    if (listed.listing.error) {
        if (!completed)
            return {};
        // Rows of names that are gone must not be renamed again.
        list.load({});
        result.news = {};
        result.news.kind = RunNews::Kind::ReloadFailed;
        result.news.error = *listed.listing.error;
        return {true, false};
    }
    const std::vector<std::string> missing =
        missingNames(listed.listing.names, listed.expectedNames);
    std::vector<std::string> runFiles;
    if (completed)
        runFiles = namesAfterRun(list, listed);
    const ListChange change = loadListing(list, folder, std::move(listed.listing.names));
    if (!completed)
        return change;
    markRowsDone(list, runFiles);
    if (!missing.empty() && result.news.kind == RunNews::Kind::None) {
        result.news.kind = RunNews::Kind::MissingAfterRun;
        result.news.names = missing;
    }
    return change;
}

} // namespace

std::variant<RunResult, RunRequest> PrepareRename(RenameList& list, const std::string& folder) {
    const bool noDuplicates = list.CheckDuplicateNames();
    const bool noBlanks = list.CheckBlankNames();
    if (!noDuplicates || !noBlanks) {
        RunResult refused{RunOutcome::Refused, {}, {}, FolderNotRead{}};
        refused.news.kind = RunNews::Kind::NamesRefused;
        return refused;
    }
    RunRequest request{folder, {}, LentList(list), list.generation()};
    const auto changed = [](const RenameRow row) {
        return !row.leftOut() && row.editedName() != row.listedName();
    };
    std::size_t count = 0;
    for (const RenameRow row : list.rows())
        count += changed(row) ? 1 : 0;
    request.moves.reserve(count);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const RenameRow row = list.row(i);
        if (changed(row))
            request.moves.push_back({row.listedName(), row.editedName(), {}, 0, i});
    }
    // Even with nothing to move the folder is read again, off the window's thread.
    return request;
}

// The request keeps its lease to the end: a rollback still reads the moves' names.
RunResult ExecuteRun(RunRequest request, const RunControl& control) {
    return runAllOrNothing({.folder = request.folder,
                            .moves = std::move(request.moves),
                            .kind = Journal::Kind::Rename,
                            .subject = {},
                            .rows = request.rows,
                            .generation = request.generation,
                            .way = std::nullopt,
                            .subjectRecord = nullptr},
                           RunContext(control));
}

ListChange FinishRun(RenameList& list, const std::string& folder, RunResult& result) {
    // A name taken on disk is the one refusal whose cause a row can show; a
    // step that failed is explained by the message.
    const RowFaults fault =
        result.outcome == RunOutcome::NameTaken ? RowFault::TakenOnDisk : RowFault::None;
    if (result.outcome != RunOutcome::Completed)
        for (const std::size_t row : result.errorRows)
            if (row < list.size())
                list.markError(row, fault);
    if (auto* listed = std::get_if<FolderListed>(&result.folder))
        return finishListed(list, folder, *listed, result);
    if (auto* rows = std::get_if<RowsInOrder>(&result.folder)) {
        if (rows->generation == list.generation()) {
            list.adoptEditedNames(rows->order);
            return {true, rows->protectedFileListed};
        }
        // The list changed under the run: its plan of the rows no longer fits them.
        FolderListed listed{ListFolderFiles(folder), {}};
        return finishListed(list, folder, listed, result);
    }
    return {};
}

} // namespace velmorandi
