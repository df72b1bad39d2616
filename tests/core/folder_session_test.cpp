#include "list_rows.h"
#include "run_support.h"
#include "session/folder_session.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

namespace velmorandi {
namespace {

using testing::editedNames;
using testing::listedNames;
using testing::statuses;
using testing::TempFolder;
using testing::TestRecords;
using Names = std::vector<std::string>;
using Kind = HistoryOffer::Kind;

// The session as the window drives it, each stage in turn on this thread.
struct Session {
    TestRecords records;
    RunTesting testing;
    std::atomic<bool> cancel{false};
    FolderSession session;

    RunControl control() {
        RunControl control = records.control(&testing);
        control.cancel = &cancel;
        return control;
    }
    FolderSession::Opened open(const std::string& folder) {
        return session.finishLoad(session.startLoad(folder)(control()));
    }
    FolderSession::Finished run(FolderSession::Run run, std::optional<std::size_t> row = {}) {
        return session.finishRun(run(control()), row);
    }
    FolderSession::Finished rename(std::optional<std::size_t> row = {}) {
        auto prepared = session.prepareRename();
        EXPECT_TRUE(std::holds_alternative<FolderSession::Run>(prepared));
        return run(std::get<FolderSession::Run>(std::move(prepared)), row);
    }
    void addPrefix(const std::string& prefix) {
        OperationInputs inputs;
        inputs.addText = prefix;
        inputs.addSide = Side::Left;
        EXPECT_TRUE(session.apply(Operation::AddString, inputs));
    }
    HistoryOffer::Kind undoKind() const { return session.undoOffer().kind; }
    HistoryOffer::Kind redoKind() const { return session.redoOffer().kind; }
};

void createFiles(const TempFolder& folder, const Names& names) {
    for (const std::string& name : names)
        folder.createFile(name, name);
}

// A run that stops after three renames, as a killed process does: no later
// call changes the disk, so nothing is rolled back until the folder is opened.
// Reads still pass, so that the list shows what the kill left.
void killedAfterThreeRenames(const TempFolder& folder, Session& session) {
    session.open(folder.path());
    session.addPrefix("x_");
    // The journal is written on a thread of its own, through the same seam.
    std::atomic<std::size_t> renames = 0;
    session.testing.seam = [&renames](DiskCall call, std::string_view, std::string_view,
                                      const std::function<std::optional<SystemError>()>& perform)
        -> std::optional<SystemError> {
        if (renames == 3 && !testing::onlyReads(call))
            return SystemError{5, "killed"};
        renames += testing::renamesAFile(call) ? 1 : 0;
        return perform();
    };
    session.rename();
    session.testing.seam = {};
}

TEST(FolderSession, LoadRollsBackAnInterruptedRunFirstAndAFailedLoadChangesNothing) {
    const Names names{"a1.txt", "a2.txt", "a3.txt", "a4.txt", "a5.txt"};
    const TempFolder folder;
    createFiles(folder, names);
    Session s;
    killedAfterThreeRenames(folder, s);
    ASSERT_EQ(listedNames(s.session.list()),
              (Names{"a4.txt", "a5.txt", "x_a1.txt", "x_a2.txt", "x_a3.txt"}));

    // Opened again, the folder is put right before it is listed.
    const FolderSession::Opened opened = s.open(folder.path());
    ASSERT_EQ(opened.recovery.notes.size(), 1u);
    EXPECT_EQ(opened.recovery.notes[0].kind, RecoveryNote::Kind::Restored);
    EXPECT_EQ(opened.recovery.notes[0].folder, folder.path());
    EXPECT_EQ(opened.recovery.notes[0].files, 3u);
    EXPECT_FALSE(opened.error);
    EXPECT_EQ(listedNames(s.session.list()), names);
    EXPECT_EQ(folder.snapshot().size(), names.size());

    // A folder that cannot be read leaves the folder, its rows and its edits.
    s.addPrefix("y_");
    const FolderSession::Opened failed = s.open(folder.at("gone"));
    EXPECT_TRUE(failed.error);
    EXPECT_EQ(s.session.folder(), folder.path());
    EXPECT_EQ(editedNames(s.session.list())[0], "y_a1.txt");
    EXPECT_EQ(s.session.undoOffer().edit, EditKind::AddString);
}

// Each operation is a step of the history under its own name, whatever order
// the two lists keep.
TEST(FolderSession, EachOperationIsAStepOfItsOwnKind) {
    const TempFolder folder;
    createFiles(folder, {" a.txt", "b.txt"});
    Session s;
    s.open(folder.path());
    OperationInputs inputs;
    inputs.findText = "b";
    inputs.replaceText = "c";
    inputs.caseMode = CaseMode::Upper;
    inputs.addText = "x";
    inputs.addSide = inputs.serialSide = inputs.trimSide = Side::Left;
    const std::pair<Operation, EditKind> steps[]{
        {Operation::FindAndReplace, EditKind::FindAndReplace},
        {Operation::ChangeCase, EditKind::ChangeCase},
        {Operation::TrimSpaces, EditKind::Trim},
        {Operation::AddString, EditKind::AddString},
        {Operation::Serialize, EditKind::Serialize}};
    for (const auto& [operation, kind] : steps) {
        EXPECT_TRUE(s.session.apply(operation, inputs));
        EXPECT_EQ(s.session.undoOffer().edit, kind) << static_cast<int>(operation);
    }
}

// Opening another folder keeps the edits of the folder left; opened again,
// its rows get them back with their history, matched by their listed names.
TEST(FolderSession, EditsOfAFolderLeftComeBackMatchedByName) {
    const TempFolder first, second;
    createFiles(first, {"a.txt", "b.txt", "c.txt"});
    createFiles(second, {"z.txt"});
    Session s;
    s.open(first.path());
    s.addPrefix("x_");
    EXPECT_TRUE(s.session.blank());
    EXPECT_TRUE(s.session.undoEdit());
    // Opened again where it is: nothing lost either.
    s.open(first.path());
    EXPECT_EQ(editedNames(s.session.list()), (Names{"x_a.txt", "x_b.txt", "x_c.txt"}));
    EXPECT_EQ(s.session.redoOffer().edit, EditKind::Blank);

    s.open(second.path());
    EXPECT_EQ(editedNames(s.session.list()), Names{"z.txt"});
    EXPECT_EQ(s.undoKind(), Kind::Nothing);
    EXPECT_EQ(s.redoKind(), Kind::Nothing);
    // Meanwhile another program takes one file away and brings a new one.
    first.remove("b.txt");
    createFiles(first, {"aa.txt"});
    s.open(first.path());
    EXPECT_EQ(editedNames(s.session.list()), (Names{"x_a.txt", "aa.txt", "x_c.txt"}));
    EXPECT_EQ(statuses(s.session.list()), Names(3, ""));
    EXPECT_EQ(s.session.redoOffer().edit, EditKind::Blank);
    EXPECT_TRUE(s.session.redoEdit());
    EXPECT_EQ(editedNames(s.session.list()), (Names{".txt", "aa.txt", ".txt"}));
    EXPECT_TRUE(s.session.undoEdit());
    EXPECT_EQ(s.session.undoOffer().edit, EditKind::AddString);
    EXPECT_TRUE(s.session.undoEdit());
    EXPECT_EQ(editedNames(s.session.list()), (Names{"a.txt", "aa.txt", "c.txt"}));
    EXPECT_EQ(s.undoKind(), Kind::Nothing);

    // A run in another folder leaves them be.
    EXPECT_TRUE(s.session.redoEdit());
    EXPECT_TRUE(s.session.redoEdit());
    s.open(second.path());
    s.rename();
    s.open(first.path());
    EXPECT_EQ(editedNames(s.session.list())[0], ".txt");
    EXPECT_TRUE(std::holds_alternative<RunResult>(s.session.prepareRename()));
    EXPECT_EQ(statuses(s.session.list()), (Names{"Err!", "", "Err!"}));
}

// A rename, its undo and its redo: the current row follows its file, and what
// Ctrl+Z and Ctrl+Y offer comes from the records as read after each run or
// load, never from the records read on the window's thread.
TEST(FolderSession, RunsOnDiskFollowTheCurrentFileAndTellWhatCanBeTakenBack) {
    const TempFolder folder;
    createFiles(folder, {"a.txt", "b.txt", "c.txt"});
    Session s;
    s.open(folder.path());
    EXPECT_EQ(s.undoKind(), Kind::Nothing);
    OperationInputs inputs;
    inputs.findText = "a";
    inputs.replaceText = "z";
    EXPECT_TRUE(s.session.apply(Operation::FindAndReplace, inputs));
    EXPECT_EQ(s.session.undoOffer().edit, EditKind::FindAndReplace);

    // Cancelled before its first step: every name as before, edits and place kept.
    s.cancel = true;
    FolderSession::Finished finished = s.rename(0);
    s.cancel = false;
    EXPECT_EQ(finished.outcome, RunOutcome::Cancelled);
    EXPECT_TRUE(finished.folderAsBefore);
    EXPECT_EQ(finished.followedRow, std::optional<std::size_t>(0));
    EXPECT_EQ(editedNames(s.session.list())[0], "z.txt");
    EXPECT_EQ(s.session.undoOffer().edit, EditKind::FindAndReplace);

    finished = s.rename(0);
    EXPECT_EQ(finished.outcome, RunOutcome::Completed);
    EXPECT_FALSE(finished.folderAsBefore);
    EXPECT_EQ(listedNames(s.session.list()), (Names{"b.txt", "c.txt", "z.txt"}));
    EXPECT_EQ(finished.followedRow, std::optional<std::size_t>(2));
    EXPECT_EQ(s.undoKind(), Kind::RenameOnDisk);
    EXPECT_EQ(s.redoKind(), Kind::Nothing);
    EXPECT_FALSE(s.session.prepareRedo());

    finished = s.run(*s.session.prepareUndo(), 2);
    EXPECT_EQ(finished.outcome, RunOutcome::Completed);
    EXPECT_EQ(finished.news.kind, RunNews::Kind::Undone);
    EXPECT_EQ(finished.news.files, 1u);
    EXPECT_EQ(listedNames(s.session.list()), (Names{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(finished.followedRow, std::optional<std::size_t>(0));
    EXPECT_EQ(s.undoKind(), Kind::Nothing);
    EXPECT_EQ(s.redoKind(), Kind::RenameOnDisk);

    finished = s.run(*s.session.prepareRedo(), 0);
    EXPECT_EQ(finished.outcome, RunOutcome::Completed);
    EXPECT_EQ(listedNames(s.session.list()), (Names{"b.txt", "c.txt", "z.txt"}));
    EXPECT_EQ(finished.followedRow, std::optional<std::size_t>(2));
    EXPECT_EQ(statuses(s.session.list()), Names(3, "Done"));
    EXPECT_EQ(s.undoKind(), Kind::RenameOnDisk);
    // A load reads them afresh, as after a start.
    FolderSession fresh;
    fresh.finishLoad(fresh.startLoad(folder.path())(s.control()));
    EXPECT_EQ(fresh.undoOffer().kind, Kind::RenameOnDisk);

    // Once read, the offers stand without the records: nothing reads them until the next run.
    std::filesystem::remove_all(testing::fileSystemPath(s.records.path()));
    EXPECT_EQ(s.undoKind(), Kind::RenameOnDisk);
}

// "Done" is for the rows a run was given, moved or not: a file another program
// brings into the folder while they are shown reads no status after a rename,
// an undo or a redo.
TEST(FolderSession, AFileAnotherProgramBroughtIsNeverDone) {
    const TempFolder folder;
    createFiles(folder, {"a.txt", "b.txt", "c.txt"});
    Session s;
    s.open(folder.path());
    OperationInputs inputs;
    inputs.findText = "a";
    inputs.replaceText = "z";
    EXPECT_TRUE(s.session.apply(Operation::FindAndReplace, inputs));

    createFiles(folder, {"new.txt"});
    EXPECT_EQ(s.rename().outcome, RunOutcome::Completed);
    EXPECT_EQ(listedNames(s.session.list()), (Names{"b.txt", "c.txt", "new.txt", "z.txt"}));
    EXPECT_EQ(statuses(s.session.list()), (Names{"Done", "Done", "", "Done"}));

    createFiles(folder, {"y.txt"});
    EXPECT_EQ(s.run(*s.session.prepareUndo()).outcome, RunOutcome::Completed);
    EXPECT_EQ(listedNames(s.session.list()),
              (Names{"a.txt", "b.txt", "c.txt", "new.txt", "y.txt"}));
    EXPECT_EQ(statuses(s.session.list()), (Names{"Done", "Done", "Done", "Done", ""}));

    createFiles(folder, {"x.txt"});
    EXPECT_EQ(s.run(*s.session.prepareRedo()).outcome, RunOutcome::Completed);
    EXPECT_EQ(listedNames(s.session.list()),
              (Names{"b.txt", "c.txt", "new.txt", "x.txt", "y.txt", "z.txt"}));
    EXPECT_EQ(statuses(s.session.list()), (Names{"Done", "Done", "Done", "", "Done", "Done"}));
}

// A rename's rows, and on a reload the rows and edits carried onto the new
// ones, are lent to the work from its start on the window's thread until it
// ends on the worker: an edit meanwhile ends the program.
TEST(FolderSessionDeathTest, WhatTheWorkReadsIsLentUntilItEnds) {
    // A run leaves the records' heartbeat thread behind: no fork beside it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const TempFolder folder;
    createFiles(folder, {"a.txt", "b.txt"});
    Session s;
    s.open(folder.path());
    s.addPrefix("x_");
    auto prepared = s.session.prepareRename();
    ASSERT_TRUE(std::holds_alternative<FolderSession::Run>(prepared));
    EXPECT_DEATH(s.session.blank(), "RenameList Blank while lent");
    EXPECT_DEATH(s.session.undoEdit(), "RenameList restoreEditedBases while lent");
    EXPECT_EQ(s.run(std::get<FolderSession::Run>(std::move(prepared))).outcome,
              RunOutcome::Completed);

    s.addPrefix("y_");
    FolderSession::Load reload = s.session.startLoad(folder.path());
    EXPECT_DEATH(s.session.nameByHand(0, "z.txt"), "RenameList setEditedName while lent");
    EXPECT_DEATH(s.session.undoEdit(), "EditHistory undo while lent");
    s.session.finishLoad(reload(s.control()));
    EXPECT_EQ(editedNames(s.session.list()), (Names{"y_x_a.txt", "y_x_b.txt"}));
    EXPECT_TRUE(s.session.undoEdit());
    EXPECT_EQ(editedNames(s.session.list()), (Names{"x_a.txt", "x_b.txt"}));
}

} // namespace
} // namespace velmorandi
