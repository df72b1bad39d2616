#include "another_process.h"
#include "on_platform.h"
#include "rename_list.h"
#include "run_folder.h"
#include "run_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace velmorandi {
namespace {

using testing::afterMoves;
using testing::Moves;
using testing::Snapshot;
using testing::TempFolder;
using testing::TestRecords;

const std::vector<std::string> kFiles{"0.txt", "1.txt", "2.txt", "a.txt", "b.txt"};
const Moves kMoves{{"0.txt", "1.txt"},
                   {"1.txt", "2.txt"},
                   {"2.txt", "3.txt"},
                   {"a.txt", "b.txt"},
                   {"b.txt", "a.txt"}};

// The undo can only work from what the rename left on disk.
void renameInAnotherProcess(const TempFolder& folder, const TestRecords& records) {
    ASSERT_TRUE(testing::succeedsInAnotherProcess([&] {
        return ExecuteRun(runRequest(folder, kMoves), records.control()).outcome ==
               RunOutcome::Completed;
    }));
}

struct Change {
    const char* label;
    void (*apply)(const std::string& folder);
    RunNews::Kind refusal;
    const char* named; // the file the refusal names
};

// A run completes, then `change` happens; the undo refuses and touches nothing.
void expectUndoRefused(const Change& change) {
    SCOPED_TRACE(change.label);
    TempFolder parent;
    TestRecords records;
    TempFolder folder(parent.path(), kFiles);
    ASSERT_EQ(ExecuteRun(runRequest(folder, kMoves), records.control()).outcome,
              RunOutcome::Completed);
    change.apply(folder.path());
    const Snapshot changed = folder.snapshot();
    const RunResult result = ExecuteUndo(folder.path(), records.control());
    EXPECT_NE(result.outcome, RunOutcome::Completed);
    EXPECT_EQ(result.news.kind, change.refusal);
    EXPECT_EQ(result.news.folder, folder.path());
    EXPECT_EQ(change.refusal == RunNews::Kind::TakeBackNameTaken ? result.news.oldName
                                                                 : result.news.name,
              change.named);
    EXPECT_FALSE(result.news.redo);
    EXPECT_EQ(folder.snapshot(), changed);
}

TEST(Undo, TakesTheLastRunBackOnceAfterARestartAndRedoesIt) {
    TempFolder parent;
    TestRecords records;
    TempFolder folder(parent.path(), kFiles);
    const Snapshot before = folder.snapshot();
    const Snapshot after = afterMoves(before, kMoves);
    EXPECT_FALSE(CanUndo(folder.path(), records.control()));
    renameInAnotherProcess(folder, records);
    ASSERT_EQ(folder.snapshot(), after);
    EXPECT_TRUE(CanUndo(folder.path(), records.control()));
    EXPECT_FALSE(CanRedo(folder.path(), records.control()));

    RenameList list;
    RunResult undone = ExecuteUndo(folder.path(), records.control());
    EXPECT_EQ(undone.outcome, RunOutcome::Completed);
    EXPECT_EQ(undone.news.kind, RunNews::Kind::Undone);
    EXPECT_EQ(undone.news.files, kFiles.size());
    FinishRun(list, folder.path(), undone);
    EXPECT_EQ(folder.snapshot(), before);
    ASSERT_EQ(list.size(), kFiles.size());
    for (const RenameRow& row : list.rows())
        EXPECT_EQ(row.status(), RowStatus::Done);

    // An undone run is undone once; it can be renamed again, once.
    EXPECT_FALSE(CanUndo(folder.path(), records.control()));
    EXPECT_TRUE(CanRedo(folder.path(), records.control()));
    EXPECT_NE(ExecuteUndo(folder.path(), records.control()).outcome, RunOutcome::Completed);
    EXPECT_EQ(folder.snapshot(), before);
    EXPECT_EQ(ExecuteRedo(folder.path(), records.control()).outcome, RunOutcome::Completed);
    EXPECT_EQ(folder.snapshot(), after);
    EXPECT_FALSE(CanRedo(folder.path(), records.control()));
    EXPECT_NE(ExecuteRedo(folder.path(), records.control()).outcome, RunOutcome::Completed);
    EXPECT_EQ(ExecuteUndo(folder.path(), records.control()).outcome, RunOutcome::Completed);
    EXPECT_EQ(folder.snapshot(), before);
}

TEST(Undo, RefusedWhenAFileChangedMeanwhile) {
    const Change changes[]{
        {"renamed away",
         [](const std::string& f) { std::filesystem::rename(f + "/3.txt", f + "/9.txt"); },
         RunNews::Kind::TakeBackFileGone, "3.txt"},
        {"old name taken", [](const std::string& f) { std::ofstream(f + "/0.txt") << "new"; },
         RunNews::Kind::TakeBackNameTaken, "0.txt"},
    };
    for (const Change& change : changes)
        expectUndoRefused(change);
}

TEST(Undo, RefusedWhenAFileWasReplacedUnderItsName) {
    VELMORANDI_LINUX_ONLY("only a file number tells another file under the same name");
    expectUndoRefused({"replaced by another file",
                       [](const std::string& f) {
                           std::ofstream(f + "/b.new") << "another";
                           std::filesystem::rename(f + "/b.new", f + "/b.txt");
                       },
                       RunNews::Kind::TakeBackFileReplaced, "b.txt"});
}

} // namespace
} // namespace velmorandi
