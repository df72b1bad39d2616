#include "folder_loader.h"
#include "list_rows.h"
#include "on_platform.h"
#include "platform/folder_access.h"
#include "platform/folder_changes.h"
#include "rename_list.h"
#include "run/step_executor.h"
#include "run_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <set>

namespace velmorandi {
namespace {

using testing::Calls;
using testing::Committed;
using testing::editedNames;
using testing::listedNames;
using testing::recordingRenames;
using testing::statuses;
using testing::TempFolder;
using testing::TestRecords;
using Snapshot = std::map<std::string, std::string>;
using Texts = std::vector<std::string>;

// Loads the folder and gives new edited base names, keyed by original base name.
RenameList loadEdited(const TempFolder& folder, const std::map<std::string, std::string>& bases) {
    RenameList list;
    EXPECT_FALSE(LoadFolder(list, folder.path()).error);
    list.rewriteEditedBases([&](const std::string& base, std::size_t index) {
        const auto found = bases.find(std::string(list.row(index).originalBase()));
        return found == bases.end() ? base : found->second;
    });
    list.ComposeEditedNames();
    return list;
}

// The system's own sentence for what renaming from to to in the folder meets now.
std::string systemReason(const std::string& from, const std::string& to, const TempFolder& folder) {
    platform::FolderHandle handle;
    EXPECT_FALSE(handle.open(folder.path()));
    const auto error = platform::renameNoReplace(handle, from, to);
    EXPECT_TRUE(error);
    return error ? error->reason : std::string();
}

// A refusal names both names of the file it stopped at, the system's reason,
// and that nothing was renamed.
void expectNamesFailure(const RunNews& news, const std::string& from, const std::string& to,
                        const std::string& reason) {
    EXPECT_EQ(news.kind, RunNews::Kind::NothingRenamed);
    EXPECT_EQ(news.failure.kind, RunFailure::Kind::RenameFailed);
    EXPECT_EQ(news.failure.from, from);
    EXPECT_EQ(news.failure.to, to);
    EXPECT_EQ(news.failure.error.reason, reason);
}

// Another entry took `to`, the name a step gave `from`, after the check.
void expectTakenMeanwhile(const RunNews& news, const std::string& from, const std::string& to) {
    EXPECT_EQ(news.kind, RunNews::Kind::NothingRenamed);
    EXPECT_EQ(news.failure.kind, RunFailure::Kind::NameTaken);
    EXPECT_EQ(news.failure.from, from);
    EXPECT_EQ(news.failure.to, to);
}

// Commits with the records and calls of one test.
struct Commit {
    TestRecords records;
    RunTesting testing;
    Committed operator()(RenameList& list, const TempFolder& folder) {
        return testing::CommitRename(list, folder.path(), records.control(&testing));
    }
    Committed operator()(RenameList& list, const TempFolder& folder, DiskSeam seam) {
        testing.seam = std::move(seam);
        return (*this)(list, folder);
    }
};

TEST(RenameCommit, RenamesEveryFileAndReloads) {
    Commit commit;
    TempFolder folder;
    const std::string unusual = testing::kUnusualName;
    const std::string longBase(249, 'n'); // with "x-" and ".txt": 255 bytes
    const Snapshot files{{"a.txt", "A"},           {"two words.txt", "B"}, {unusual + ".txt", "C"},
                         {longBase + ".txt", "D"}, {"Photo.jpg", "E"},     {"same.txt", "F"}};
    for (const auto& [name, content] : files)
        folder.createFile(name, content);
    folder.createFile(".hidden", "H");
    folder.createFolder("sub");

    RenameList list = loadEdited(folder, {{"a", "x-a"},
                                          {"two words", "x-two words"},
                                          {unusual, "x-" + unusual},
                                          {longBase, "x-" + longBase},
                                          {"Photo", "photo"}});
    Calls calls;
    const Committed outcome = commit(list, folder, recordingRenames(calls));

    EXPECT_EQ(outcome.outcome, RunOutcome::Completed);
    EXPECT_EQ(outcome.news.kind, RunNews::Kind::None);
    EXPECT_TRUE(outcome.listReloaded);
    std::set<std::string> moved; // a file system may need a temporary name for Photo
    for (const auto& call : calls)
        if (files.count(call.first))
            moved.insert(call.first);
    EXPECT_EQ(moved.size(), 5u); // the unchanged row needs no call
    const Snapshot expected{{"x-a.txt", "A"},
                            {"x-two words.txt", "B"},
                            {"x-" + unusual + ".txt", "C"},
                            {"x-" + longBase + ".txt", "D"},
                            {"photo.jpg", "E"},
                            {"same.txt", "F"},
                            {".hidden", "H"},
                            {"sub", "folder"}};
    EXPECT_EQ(folder.snapshot(), expected);
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list.row(0).listedName(), "photo.jpg");
    EXPECT_EQ(statuses(list), Texts(6, "Done"));
    EXPECT_FALSE(outcome.protectedFileListed);

    // The guard speaks for the new names.
    list = loadEdited(folder, {{"same", "config.sys"}});
    EXPECT_TRUE(commit(list, folder).protectedFileListed);
}

TEST(RenameCommit, UnchangedOrEmptyListNeedsNoSystemCall) {
    Commit commit;
    TempFolder folder;
    RenameList empty;
    Calls calls;
    Committed outcome = commit(empty, folder, recordingRenames(calls));
    EXPECT_EQ(outcome.outcome, RunOutcome::Completed);
    EXPECT_TRUE(empty.empty());

    folder.createFile("a.txt", "A");
    folder.createFile("b.txt", "B");
    RenameList list = loadEdited(folder, {});
    outcome = commit(list, folder, recordingRenames(calls));
    EXPECT_EQ(outcome.outcome, RunOutcome::Completed);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(statuses(list), Texts(2, "Done"));
}

TEST(RenameCommit, RefusesInvalidNamesBeforeTouchingAnything) {
    Commit commit;
    TempFolder folder;
    folder.createFile("a.txt", "A");
    folder.createFile("b.txt", "B");
    folder.createFile("c.txt", "C");
    const Snapshot before = folder.snapshot();
    RenameList list = loadEdited(folder, {{"a", "same"}, {"b", "same"}, {"c", ""}});
    Calls calls;
    const Committed outcome = commit(list, folder, recordingRenames(calls));
    EXPECT_EQ(outcome.outcome, RunOutcome::Refused);
    EXPECT_EQ(outcome.news.kind, RunNews::Kind::NamesRefused);
    EXPECT_EQ(statuses(list), Texts(3, "Err!"));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(folder.snapshot(), before);
}

TEST(RenameCommit, RefusesNamesTakenOnDiskCompletesSwapsAndChains) {
    Commit commit;
    const std::vector<std::map<std::string, std::string>> cases{
        {{"a", "sub"}},             // an unlisted folder
        {{"a", "link"}},            // a link to a folder
        {{"a", "b"}, {"b", "sub"}}, // a chain that ends on a folder
        {{"a", "b"}, {"b", "a"}},   // a swap
        {{"a", "b"}, {"b", "new"}}, // a chain
    };
    const std::vector<Texts> marked{
        {"Err!", "", ""}, {"Err!", "", ""}, {"", "Err!", ""}, Texts(3, "Done"), Texts(3, "Done"),
    };
    const std::vector<Snapshot> after{
        {},
        {},
        {},
        {{"a.txt", "b.txt"}, {"b.txt", "a.txt"}, {"c.txt", "c.txt"}},
        {{"b.txt", "a.txt"}, {"new.txt", "b.txt"}, {"c.txt", "c.txt"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (i == 1 && !testing::kSymbolicLinks)
            continue;
        TempFolder folder;
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            folder.createFile(name, name);
        folder.createFolder("sub.txt");
        if (testing::kSymbolicLinks)
            folder.createLink("sub.txt", "link.txt");
        const Snapshot before = folder.snapshot();
        RenameList list = loadEdited(folder, cases[i]);
        Calls calls;
        const Committed outcome = commit(list, folder, recordingRenames(calls));
        EXPECT_EQ(statuses(list), marked[i]) << i;
        // The refused row says why: its new name is taken on disk.
        for (const RenameRow row : list.rows())
            EXPECT_EQ(row.faults(),
                      row.status() == RowStatus::Error ? RowFault::TakenOnDisk : RowFault::None)
                << i;
        if (after[i].empty()) {
            EXPECT_EQ(outcome.outcome, RunOutcome::NameTaken) << i;
            EXPECT_EQ(outcome.news.kind, RunNews::Kind::NamesTaken);
            EXPECT_TRUE(calls.empty());
            EXPECT_EQ(folder.snapshot(), before) << i;
        } else {
            EXPECT_EQ(outcome.outcome, RunOutcome::Completed) << i;
            Snapshot expected = after[i];
            expected["sub.txt"] = "folder";
            if (testing::kSymbolicLinks)
                expected["link.txt"] = "link to sub.txt";
            EXPECT_EQ(folder.snapshot(), expected) << i;
        }
    }
}

TEST(RenameCommit, FailureAtAnyRenameUndoesTheOthers) {
    Commit commit;
    const std::vector<std::string> names{"a.txt", "b.txt", "c.txt", "d.txt"};
    for (std::size_t failing = 1; failing <= names.size(); ++failing) {
        TempFolder folder;
        for (const std::string& name : names)
            folder.createFile(name, "content of " + name);
        const Snapshot before = folder.snapshot();
        RenameList list =
            loadEdited(folder, {{"a", "x-a"}, {"b", "x-b"}, {"c", "x-c"}, {"d", "x-d"}});
        const std::vector<std::string> shaped = editedNames(list);
        Calls calls;
        const Committed outcome = commit(list, folder, recordingRenames(calls, {failing}));

        EXPECT_EQ(outcome.outcome, RunOutcome::Failed);
        expectNamesFailure(outcome.news, names[failing - 1], "x-" + names[failing - 1],
                           "Input/output error");
        EXPECT_FALSE(outcome.listReloaded);
        EXPECT_EQ(calls.size(), 2 * failing - 1);
        Texts expected(names.size(), "");
        expected[failing - 1] = "Err!";
        EXPECT_EQ(statuses(list), expected);
        EXPECT_EQ(list.row(failing - 1).faults(), RowFault::None); // the message says why
        EXPECT_EQ(editedNames(list), shaped);
        EXPECT_EQ(folder.snapshot(), before) << failing;
    }
}

TEST(RenameCommit, SystemRefusalsPartWayAreUndone) {
    Commit commit;
    TempFolder folder;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        folder.createFile(name, name);
    RenameList list = loadEdited(folder, {{"a", "x-a"}, {"b", "x-b"}, {"c", "x-c"}});
    // Another program takes the second new name after the check, and the third file vanishes.
    folder.remove("c.txt");
    const Snapshot before = folder.snapshot();
    Calls calls;
    Committed outcome = commit(list, folder, recordingRenames(calls));
    expectNamesFailure(outcome.news, "c.txt", "x-c.txt", systemReason("gone", "x", folder));
    EXPECT_EQ(folder.snapshot(), before);

    calls.clear();
    const DiskSeam intruder = testing::beforeEachRename([&](std::string_view, std::string_view to) {
        if (to == "x-b.txt")
            folder.createFile(std::string(to), "intruder");
    });
    folder.createFile("c.txt", "c.txt");
    list = loadEdited(folder, {{"a", "x-a"}, {"b", "x-b"}, {"c", "x-c"}});
    outcome = commit(list, folder, intruder);
    EXPECT_EQ(outcome.outcome, RunOutcome::Failed);
    // The message names the entry that took the name, not a file to look for.
    expectTakenMeanwhile(outcome.news, "b.txt", "x-b.txt");
    Snapshot expected = before;
    expected["c.txt"] = "c.txt";
    expected["x-b.txt"] = "intruder";
    EXPECT_EQ(folder.snapshot(), expected);
}

// A rollback that fails in its turn keeps the record: the message names the
// file still renamed, the list shows the folder as it is, and the next start
// puts it right.
TEST(RenameCommit, FailedRollbackKeepsTheRecordForTheNextStart) {
    Commit commit;
    TempFolder folder;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        folder.createFile(name, name);
    const Snapshot before = folder.snapshot();
    RenameList list = loadEdited(folder, {{"a", "x-a"}, {"b", "x-b"}, {"c", "x-c"}});
    Calls calls;
    // Calls: a, b, c (fails); then the rollback's two, the second of which fails.
    const Committed outcome = commit(list, folder, recordingRenames(calls, {3, 5}));
    EXPECT_EQ(outcome.outcome, RunOutcome::Failed);
    EXPECT_TRUE(outcome.listReloaded);
    ASSERT_EQ(calls.size(), 5u);
    const std::string stillRenamed(calls[4].first);
    EXPECT_EQ(outcome.news.kind, RunNews::Kind::NotRestored);
    EXPECT_TRUE(std::any_of(outcome.news.stillRenamed.begin(), outcome.news.stillRenamed.end(),
                            [&](const NameNow& still) { return still.current == stillRenamed; }))
        << testing::describe(outcome.news);
    std::vector<std::string> listed;
    for (const RenameRow& row : list.rows())
        listed.emplace_back(row.listedName());
    EXPECT_NE(std::find(listed.begin(), listed.end(), stillRenamed), listed.end());

    commit.testing.seam = nullptr;
    const RecoveryReport report = RecoverInterruptedRuns(commit.records.control(&commit.testing));
    ASSERT_FALSE(report.notes.empty());
    for (const RecoveryNote& note : report.notes)
        EXPECT_EQ(note.folder, folder.path()) << testing::describe(report);
    EXPECT_EQ(folder.snapshot(), before);
}

// The second step of a case-only change, the way back from the temporary name, can fail.
DiskSeam secondStepTaken(Calls& calls, bool taken) {
    return [&calls, taken](DiskCall call, std::string_view a, std::string_view b,
                           const std::function<std::optional<SystemError>()>& perform)
               -> std::optional<SystemError> {
        if (!testing::renamesAFile(call))
            return perform();
        calls.emplace_back(a, b);
        if (taken && calls.size() == 2)
            return SystemError{testing::kNameTakenCode, "File exists"};
        return perform();
    };
}

TEST(RenameCommit, CaseOnlyRenameGoesThroughTemporaryName) {
    Commit commit;
    commit.testing.ignoreCase = true;
    TempFolder folder;
    folder.createFile("Photo.jpg", "picture");
    RenameList list = loadEdited(folder, {{"Photo", "photo"}});
    Calls calls;
    Committed outcome = commit(list, folder, secondStepTaken(calls, false));
    EXPECT_EQ(outcome.outcome, RunOutcome::Completed);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].first, "Photo.jpg");
    EXPECT_EQ(calls[0].second, calls[1].first);
    EXPECT_EQ(calls[1].second, "photo.jpg");
    EXPECT_EQ(folder.snapshot(), (Snapshot{{"photo.jpg", "picture"}}));

    // Someone takes the name between the two steps: the file goes back.
    list = loadEdited(folder, {{"photo", "PHOTO"}});
    calls.clear();
    outcome = commit(list, folder, secondStepTaken(calls, true));
    EXPECT_EQ(outcome.outcome, RunOutcome::Failed);
    expectTakenMeanwhile(outcome.news, "photo.jpg", "PHOTO.jpg");
    EXPECT_EQ(folder.snapshot(), (Snapshot{{"photo.jpg", "picture"}}));
}

TEST(RenameCommit, NameMissingAfterReloadIsReported) {
    Commit commit;
    TempFolder folder;
    folder.createFile("a.txt", "A");
    RenameList list = loadEdited(folder, {{"a", "b"}});
    // A file system that stores another name than the one asked for.
    const DiskSeam altering = [&](DiskCall call, std::string_view a, std::string_view b,
                                  const std::function<std::optional<SystemError>()>& perform)
        -> std::optional<SystemError> {
        if (call != DiskCall::Rename)
            return perform();
        std::filesystem::rename(folder.at(std::string(a)), folder.at(std::string(b) + "~"));
        return std::nullopt;
    };
    const Committed outcome = commit(list, folder, altering);
    EXPECT_EQ(outcome.outcome, RunOutcome::Completed);
    EXPECT_EQ(outcome.news.kind, RunNews::Kind::MissingAfterRun);
    EXPECT_EQ(outcome.news.names, std::vector<std::string>{"b.txt"});
    // No name the run gave: nothing tells it from a file another program brought.
    EXPECT_EQ(listedNames(list), std::vector<std::string>{"b.txt~"});
    EXPECT_EQ(statuses(list), Texts{""});
}

TEST(RenameCommit, ListShowsWhatAnotherProgramDidDuringTheRun) {
    Commit commit;
    TempFolder folder;
    folder.createFile("a.txt", "A");
    folder.createFile("same.txt", "S");
    // A file the run leaves alone goes: every name left is a row's new name,
    // yet there are fewer names than rows.
    RenameList list = loadEdited(folder, {{"a", "x-a"}});
    Committed outcome = commit(list, folder, testing::beforeEachRename([&](auto, auto) {
                                   std::error_code gone;
                                   std::filesystem::remove(folder.at("same.txt"), gone);
                               }));
    EXPECT_EQ(outcome.outcome, RunOutcome::Completed);
    EXPECT_EQ(outcome.news.kind, RunNews::Kind::None);
    EXPECT_EQ(editedNames(list), std::vector<std::string>{"x-a.txt"});
    EXPECT_EQ(statuses(list), Texts{"Done"});

    // A file comes: listed, but no file of the run's.
    list = loadEdited(folder, {{"x-a", "y-a"}});
    outcome =
        commit(list, folder,
               testing::beforeEachRename([&](auto, auto) { folder.createFile("new.txt", "N"); }));
    EXPECT_EQ(outcome.outcome, RunOutcome::Completed);
    EXPECT_EQ(outcome.news.kind, RunNews::Kind::None);
    EXPECT_EQ(editedNames(list), (std::vector<std::string>{"new.txt", "y-a.txt"}));
    EXPECT_EQ(statuses(list), (Texts{"", "Done"}));
}

// Whichever way a drive makes a step take, the step never replaces a file,
// and where it fails nothing of it is left behind.
TEST(RenameCommit, EveryRenameWayRefusesToReplace) {
    for (const RenameWay way :
         {RenameWay::NoReplaceFlag, RenameWay::LinkThenUnlink, RenameWay::Placeholder}) {
        SCOPED_TRACE(static_cast<int>(way));
        TempFolder folder;
        folder.createFile("a", "A");
        folder.createFile("b", "B");
        platform::FolderHandle handle;
        ASSERT_FALSE(handle.open(folder.path()));
        const std::vector<PlannedMove> moves{
            {"a", "b", {}, 0, 0}, {"a", "c", {}, 0, 1}, {"gone", "d", {}, 0, 2}};
        const Disk disk;
        StepExecutor executor(handle, moves, disk, way, {"placeholder", true}, {});
        const auto step = [](std::uint32_t move) {
            return RunStep{RunStep::Op::Rename, {move, Stage::From}, {move, Stage::To}};
        };
        const auto taken = executor.perform(step(0));
        ASSERT_TRUE(taken);
        EXPECT_TRUE(platform::meansNameTaken(*taken));
        EXPECT_EQ(folder.snapshot(), (Snapshot{{"a", "A"}, {"b", "B"}}));
        EXPECT_FALSE(executor.perform(step(1)));
        const auto missing = executor.perform(step(2));
        ASSERT_TRUE(missing);
        EXPECT_EQ(missing->code, testing::kNoSuchEntry);
        EXPECT_EQ(folder.snapshot(), (Snapshot{{"b", "B"}, {"c", "A"}}));
    }
}

} // namespace
} // namespace velmorandi
