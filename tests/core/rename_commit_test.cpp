#include "folder_loader.h"
#include "on_platform.h"
#include "platform/folder_access.h"
#include "rename_commit.h"
#include "rename_list.h"
#include "run/rename_run.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>

namespace velmorandi {
namespace {

using testing::TempFolder;
using Snapshot = std::map<std::string, std::string>;
using Calls = std::vector<std::pair<std::string, std::string>>;

const SystemError kInjected{EIO, "Input/output error"};

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

std::vector<RowStatus> statuses(const RenameList& list) {
    std::vector<RowStatus> result;
    for (const RenameRow& row : list.rows())
        result.push_back(row.status());
    return result;
}

std::vector<std::string> editedNames(const RenameList& list) {
    std::vector<std::string> result;
    for (const RenameRow& row : list.rows())
        result.emplace_back(row.editedName());
    return result;
}

// Records every rename and lets the failing ones (1-based call numbers) fail.
RenameSeam recording(Calls& calls, std::vector<std::size_t> failing = {}) {
    return [&calls, failing](const std::string& from, const std::string& to,
                             const RenameFunction& rename) -> std::optional<SystemError> {
        calls.emplace_back(from, to);
        if (std::find(failing.begin(), failing.end(), calls.size()) != failing.end())
            return kInjected;
        return rename(from, to);
    };
}

// The system's own sentence for what renaming from to to in the folder meets now.
std::string systemReason(const std::string& from, const std::string& to, const TempFolder& folder) {
    platform::FolderHandle handle;
    EXPECT_FALSE(handle.open(folder.path()));
    const auto error = handle.renameNoReplace(from, to);
    EXPECT_TRUE(error);
    return error ? error->reason : std::string();
}

std::string noFileRenamed(const std::string& from, const std::string& to,
                          const std::string& reason) {
    return "Could not rename " + from + " to " + to + ": " + reason +
           ".\r\n\r\nNo file has been renamed. Check that the file still exists and that the "
           "folder can be written to.";
}

TEST(RenameCommit, RenamesEveryFileAndReloads) {
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
    const CommitOutcome outcome = CommitRename(list, folder.path(), recording(calls));

    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Completed);
    EXPECT_EQ(outcome.message, "");
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
    EXPECT_EQ(statuses(list), std::vector<RowStatus>(6, RowStatus::Done));
    EXPECT_FALSE(outcome.protectedFileListed);

    // The guard speaks for the new names.
    list = loadEdited(folder, {{"same", "config.sys"}});
    EXPECT_TRUE(CommitRename(list, folder.path()).protectedFileListed);
}

TEST(RenameCommit, UnchangedOrEmptyListNeedsNoSystemCall) {
    TempFolder folder;
    RenameList empty;
    Calls calls;
    CommitOutcome outcome = CommitRename(empty, folder.path(), recording(calls));
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Completed);
    EXPECT_TRUE(empty.empty());

    folder.createFile("a.txt", "A");
    folder.createFile("b.txt", "B");
    RenameList list = loadEdited(folder, {});
    outcome = CommitRename(list, folder.path(), recording(calls));
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Completed);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(statuses(list), std::vector<RowStatus>(2, RowStatus::Done));
}

TEST(RenameCommit, RefusesInvalidNamesBeforeTouchingAnything) {
    TempFolder folder;
    folder.createFile("a.txt", "A");
    folder.createFile("b.txt", "B");
    folder.createFile("c.txt", "C");
    const Snapshot before = folder.snapshot();
    RenameList list = loadEdited(folder, {{"a", "same"}, {"b", "same"}, {"c", ""}});
    Calls calls;
    const CommitOutcome outcome = CommitRename(list, folder.path(), recording(calls));
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Refused);
    EXPECT_EQ(outcome.message, kRenameRefusedMessage);
    EXPECT_EQ(statuses(list), std::vector<RowStatus>(3, RowStatus::Error));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(folder.snapshot(), before);
}

TEST(RenameCommit, RefusesNamesTakenOnDiskCompletesSwapsAndChains) {
    const std::vector<std::map<std::string, std::string>> cases{
        {{"a", "sub"}},             // an unlisted folder
        {{"a", "link"}},            // a link to a folder
        {{"a", "b"}, {"b", "sub"}}, // a chain that ends on a folder
        {{"a", "b"}, {"b", "a"}},   // a swap
        {{"a", "b"}, {"b", "new"}}, // a chain
    };
    const std::vector<std::vector<RowStatus>> marked{
        {RowStatus::Error, RowStatus::None, RowStatus::None},
        {RowStatus::Error, RowStatus::None, RowStatus::None},
        {RowStatus::None, RowStatus::Error, RowStatus::None},
        std::vector<RowStatus>(3, RowStatus::Done),
        std::vector<RowStatus>(3, RowStatus::Done),
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
        const CommitOutcome outcome = CommitRename(list, folder.path(), recording(calls));
        EXPECT_EQ(statuses(list), marked[i]) << i;
        if (after[i].empty()) {
            EXPECT_EQ(outcome.kind, CommitOutcome::Kind::NameTaken) << i;
            EXPECT_EQ(outcome.message, kNameTakenMessage);
            EXPECT_TRUE(calls.empty());
            EXPECT_EQ(folder.snapshot(), before) << i;
        } else {
            EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Completed) << i;
            Snapshot expected = after[i];
            expected["sub.txt"] = "folder";
            if (testing::kSymbolicLinks)
                expected["link.txt"] = "link to sub.txt";
            EXPECT_EQ(folder.snapshot(), expected) << i;
        }
    }
}

TEST(RenameCommit, FailureAtAnyRenameUndoesTheOthers) {
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
        const CommitOutcome outcome =
            CommitRename(list, folder.path(), recording(calls, {failing}));

        EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Failed);
        EXPECT_EQ(outcome.message, noFileRenamed(names[failing - 1], "x-" + names[failing - 1],
                                                 "Input/output error"));
        EXPECT_FALSE(outcome.listReloaded);
        EXPECT_EQ(calls.size(), 2 * failing - 1);
        std::vector<RowStatus> expected(names.size(), RowStatus::None);
        expected[failing - 1] = RowStatus::Error;
        EXPECT_EQ(statuses(list), expected);
        EXPECT_EQ(editedNames(list), shaped);
        EXPECT_EQ(folder.snapshot(), before) << failing;
    }
}

TEST(RenameCommit, SystemRefusalsPartWayAreUndone) {
    TempFolder folder;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        folder.createFile(name, name);
    RenameList list = loadEdited(folder, {{"a", "x-a"}, {"b", "x-b"}, {"c", "x-c"}});
    // Another program takes the second new name after the check, and the third file vanishes.
    folder.remove("c.txt");
    const Snapshot before = folder.snapshot();
    Calls calls;
    CommitOutcome outcome = CommitRename(list, folder.path(), recording(calls));
    EXPECT_EQ(outcome.message,
              noFileRenamed("c.txt", "x-c.txt", systemReason("gone", "x", folder)));
    EXPECT_EQ(folder.snapshot(), before);

    calls.clear();
    const RenameSeam intruder = [&](const std::string& from, const std::string& to,
                                    const RenameFunction& rename) {
        if (to == "x-b.txt")
            folder.createFile(to, "intruder");
        return rename(from, to);
    };
    folder.createFile("c.txt", "c.txt");
    list = loadEdited(folder, {{"a", "x-a"}, {"b", "x-b"}, {"c", "x-c"}});
    outcome = CommitRename(list, folder.path(), intruder);
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Failed);
    EXPECT_EQ(outcome.message,
              noFileRenamed("b.txt", "x-b.txt", systemReason("a.txt", "c.txt", folder)));
    Snapshot expected = before;
    expected["c.txt"] = "c.txt";
    expected["x-b.txt"] = "intruder";
    EXPECT_EQ(folder.snapshot(), expected);
}

TEST(RenameCommit, FailedUndoNamesTheFilesAndReloads) {
    TempFolder folder;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        folder.createFile(name, name);
    RenameList list = loadEdited(folder, {{"a", "x-a"}, {"b", "x-b"}, {"c", "x-c"}});
    Calls calls;
    // Calls: a, b, c (fails), undo b, undo a (fails).
    const CommitOutcome outcome = CommitRename(list, folder.path(), recording(calls, {3, 5}));
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Failed);
    EXPECT_TRUE(outcome.listReloaded);
    EXPECT_NE(outcome.message.find("a.txt is now x-a.txt"), std::string::npos) << outcome.message;
    EXPECT_EQ(outcome.message.find("b.txt is now"), std::string::npos);
    EXPECT_EQ(folder.snapshot(),
              (Snapshot{{"x-a.txt", "a.txt"}, {"b.txt", "b.txt"}, {"c.txt", "c.txt"}}));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.row(2).listedName(), "x-a.txt");
}

// The second step of a case-only change, the way back from the temporary name, can fail.
RenameSeam secondStepTaken(Calls& calls, bool taken) {
    return [&calls, taken](const std::string& from, const std::string& to,
                           const RenameFunction& rename) -> std::optional<SystemError> {
        calls.emplace_back(from, to);
        if (taken && calls.size() == 2)
            return SystemError{testing::kNameTakenCode, "File exists"};
        return rename(from, to);
    };
}

CommitOutcome commitIgnoringCase(RenameList& list, const TempFolder& folder,
                                 const RenameSeam& seam) {
    auto prepared = PrepareRename(list, folder.path());
    RunControl control;
    control.seam = seam;
    control.testing.ignoreCase = true;
    return FinishRun(list, folder.path(), ExecuteRun(std::get<RunRequest>(prepared), control));
}

TEST(RenameCommit, CaseOnlyRenameGoesThroughTemporaryName) {
    TempFolder folder;
    folder.createFile("Photo.jpg", "picture");
    RenameList list = loadEdited(folder, {{"Photo", "photo"}});
    Calls calls;
    CommitOutcome outcome = commitIgnoringCase(list, folder, secondStepTaken(calls, false));
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Completed);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].first, "Photo.jpg");
    EXPECT_EQ(calls[0].second, calls[1].first);
    EXPECT_EQ(calls[1].second, "photo.jpg");
    EXPECT_EQ(folder.snapshot(), (Snapshot{{"photo.jpg", "picture"}}));

    // Someone takes the name between the two steps: the file goes back.
    list = loadEdited(folder, {{"photo", "PHOTO"}});
    calls.clear();
    outcome = commitIgnoringCase(list, folder, secondStepTaken(calls, true));
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Failed);
    EXPECT_EQ(outcome.message, noFileRenamed("photo.jpg", "PHOTO.jpg", "File exists"));
    EXPECT_EQ(folder.snapshot(), (Snapshot{{"photo.jpg", "picture"}}));
}

TEST(RenameCommit, NameMissingAfterReloadIsReported) {
    TempFolder folder;
    folder.createFile("a.txt", "A");
    RenameList list = loadEdited(folder, {{"a", "b"}});
    // A file system that stores another name than the one asked for.
    const RenameSeam altering = [](const std::string& from, const std::string& to,
                                   const RenameFunction& rename) { return rename(from, to + "~"); };
    const CommitOutcome outcome = CommitRename(list, folder.path(), altering);
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Completed);
    EXPECT_NE(outcome.message.find("b.txt"), std::string::npos);
    EXPECT_EQ(statuses(list), std::vector<RowStatus>{RowStatus::Done});
}

TEST(RenameCommit, ListShowsWhatAnotherProgramDidDuringTheRun) {
    TempFolder folder;
    folder.createFile("a.txt", "A");
    folder.createFile("same.txt", "S");
    // A file the run leaves alone goes: every name left is a row's new name,
    // yet there are fewer names than rows.
    RenameList list = loadEdited(folder, {{"a", "x-a"}});
    RenameSeam meddling = [&](const std::string& from, const std::string& to,
                              const RenameFunction& rename) {
        folder.remove("same.txt");
        return rename(from, to);
    };
    CommitOutcome outcome = CommitRename(list, folder.path(), meddling);
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Completed);
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(editedNames(list), std::vector<std::string>{"x-a.txt"});
    EXPECT_EQ(statuses(list), std::vector<RowStatus>{RowStatus::Done});

    // A file comes.
    list = loadEdited(folder, {{"x-a", "y-a"}});
    meddling = [&](const std::string& from, const std::string& to, const RenameFunction& rename) {
        folder.createFile("new.txt", "N");
        return rename(from, to);
    };
    outcome = CommitRename(list, folder.path(), meddling);
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Completed);
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(editedNames(list), (std::vector<std::string>{"new.txt", "y-a.txt"}));
    EXPECT_EQ(statuses(list), std::vector<RowStatus>(2, RowStatus::Done));
}

TEST(RenameCommit, EveryRenameMethodRefusesToReplace) {
    using Method = platform::FolderHandle::RenameMethod;
    for (const Method method :
         {Method::NoReplaceFlag, Method::LinkThenUnlink, Method::Placeholder}) {
        TempFolder folder;
        folder.createFile("a", "A");
        folder.createFile("b", "B");
        platform::FolderHandle handle;
        ASSERT_FALSE(handle.open(folder.path()));
        const auto taken = handle.renameNoReplace("a", "b", method);
        ASSERT_TRUE(taken);
        EXPECT_TRUE(platform::meansNameTaken(*taken));
        EXPECT_FALSE(handle.renameNoReplace("a", "c", method));
        const auto missing = handle.renameNoReplace("gone", "d", method);
        ASSERT_TRUE(missing);
        EXPECT_EQ(missing->code, testing::kNoSuchEntry);
        EXPECT_EQ(folder.snapshot(), (Snapshot{{"b", "B"}, {"c", "A"}}));
    }
}

} // namespace
} // namespace velmorandi
