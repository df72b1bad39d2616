#include "list_rows.h"
#include "refusal_marks.h"
#include "rename_list.h"
#include "run_support.h"
#include "session/folder_session.h"
#include "temp_folder.h"
#include "transforms/operations.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace velmorandi {
namespace {

using testing::editedNames;
using testing::listedNames;
using testing::statuses;
using testing::TempFolder;
using testing::TestRecords;
using Names = std::vector<std::string>;

// Rows 1 and 3 left out keep their listed names whatever is done to the others.
void expectKeptAsListed(const RenameList& list, const std::string& after) {
    for (const std::size_t row : {1u, 3u})
        EXPECT_EQ(list.row(row).editedName(), list.row(row).listedName()) << after;
    EXPECT_NE(list.row(0).editedName(), list.row(0).listedName()) << after;
}

} // namespace

// Every edit passes over the rows left out; Serial numbers only the others;
// the checks leave them alone and Reset puts every row back.
TEST(LeaveOut, RowsLeftOutTakeNoPartInEditsNumbersOrChecks) {
    RenameList list;
    list.load({"a b.txt", ".profile", "c d.txt", " e.txt", "f.txt", "g.txt", "h.txt", "i.txt",
               "j.txt", "k.txt", "l.txt"});
    OperationInputs every;
    every.findText = " ";
    every.replaceText = "_";
    every.caseMode = CaseMode::Upper;
    every.addText = "x";
    every.addSide = Side::Right;
    every.serialSide = Side::Left;
    every.trimSide = Side::Left;
    ApplyOperation(list, Operation::AddString, every);
    const std::vector<std::size_t> out{1, 3};
    list.leaveOut(out, true);
    expectKeptAsListed(list, "leaving out");
    EXPECT_EQ(list.rowsLeftOut(), (std::vector<std::uint32_t>{1, 3}));
    for (int index = 0; index <= 4; ++index) {
        ApplyOperation(list, *ApplyButtonOperation(index), every);
        expectKeptAsListed(list, "operation " + std::to_string(index));
    }
    // Nine rows take part: one digit each, counted past the rows left out.
    EXPECT_EQ(list.row(0).editedName(), "1A_BXx.txt");
    EXPECT_EQ(list.row(2).editedName(), "2C_DXx.txt");
    EXPECT_EQ(list.row(10).editedName(), "9LXx.txt");
    EXPECT_FALSE(list.setEditedName(1, "typed.profile"));
    EXPECT_TRUE(list.setEditedName(0, "typed.txt"));

    // A row left out is no rename, but its name stays taken on disk.
    EXPECT_TRUE(list.setEditedName(2, " e.txt"));
    EXPECT_TRUE(list.CheckDuplicateNames());
    EXPECT_TRUE(list.CheckBlankNames()) << "\".profile\" left out needs no new name";
    EXPECT_EQ(statuses(list), Names(11, ""));
    RefusalMarks marks;
    for (const bool ignoresCase : {false, true}) {
        marks.check(list, {{}, ignoresCase});
        EXPECT_EQ(marks.faultsOf(2), RowFault::TakenOnDisk) << ignoresCase;
        EXPECT_EQ(marks.count(), 1u) << ignoresCase;
    }

    list.Blank();
    expectKeptAsListed(list, "Blank");
    list.Reset();
    EXPECT_TRUE(list.rowsLeftOut().empty());
    EXPECT_EQ(list.row(3).editedName(), "e.txt");
    list.leaveOut(out, true);
    list.leaveOut(std::vector<std::size_t>{3, 99}, false);
    EXPECT_EQ(list.rowsLeftOut(), (std::vector<std::uint32_t>{1}));
}

// The session's steps: leaving out and putting back are undone and redone
// like any edit, carried across a reload of the folder, and Rename leaves the
// rows alone: their files keep their names and read no "Done".
TEST(LeaveOut, StepsOfTheHistoryThatRenameLeavesAlone) {
    const Names names{"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"};
    const TempFolder folder;
    for (const std::string& name : names)
        folder.createFile(name, name);
    TestRecords records;
    RunTesting testing;
    std::atomic<bool> cancel{false};
    RunControl control = records.control(&testing);
    control.cancel = &cancel;
    FolderSession session;
    const auto open = [&] { session.finishLoad(session.startLoad(folder.path())(control)); };
    open();

    OperationInputs add;
    add.addText = "x_";
    add.addSide = Side::Left;
    ASSERT_TRUE(session.apply(Operation::AddString, add));
    ASSERT_TRUE(session.leaveOut({1, 3}));
    const Names leftOut{"x_a.txt", "b.txt", "x_c.txt", "d.txt", "x_e.txt"};
    EXPECT_EQ(editedNames(session.list()), leftOut);
    EXPECT_EQ(session.undoOffer().edit, EditKind::LeaveOut);
    ASSERT_TRUE(session.undoEdit());
    EXPECT_EQ(editedNames(session.list())[1], "x_b.txt");
    EXPECT_TRUE(session.list().rowsLeftOut().empty());
    EXPECT_EQ(session.redoOffer().edit, EditKind::LeaveOut);
    ASSERT_TRUE(session.redoEdit());
    EXPECT_EQ(editedNames(session.list()), leftOut);

    ASSERT_TRUE(session.putBack({3}));
    EXPECT_EQ(session.undoOffer().edit, EditKind::PutBack);
    EXPECT_EQ(session.list().rowsLeftOut(), (std::vector<std::uint32_t>{1}));
    ASSERT_TRUE(session.undoEdit());
    EXPECT_EQ(session.list().rowsLeftOut(), (std::vector<std::uint32_t>{1, 3}));
    // Nothing put back that was not left out: no step.
    ASSERT_TRUE(session.putBack({0}));
    EXPECT_EQ(session.undoOffer().edit, EditKind::LeaveOut);

    open();
    EXPECT_EQ(editedNames(session.list()), leftOut);
    EXPECT_EQ(session.list().rowsLeftOut(), (std::vector<std::uint32_t>{1, 3}));

    auto prepared = session.prepareRename();
    ASSERT_TRUE(std::holds_alternative<FolderSession::Run>(prepared));
    auto& run = std::get<FolderSession::Run>(prepared);
    EXPECT_EQ(run.files(), 3u);
    session.finishRun(run(control), std::nullopt);
    EXPECT_EQ(listedNames(session.list()),
              (Names{"b.txt", "d.txt", "x_a.txt", "x_c.txt", "x_e.txt"}));
    EXPECT_EQ(statuses(session.list()), (Names{"", "", "Done", "Done", "Done"}));
    EXPECT_TRUE(session.list().rowsLeftOut().empty());
    EXPECT_EQ(folder.snapshot().count("b.txt"), 1u);
}

} // namespace velmorandi
