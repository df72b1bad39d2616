#include "another_process.h"
#include "on_platform.h"
#include "rename_list.h"
#include "run/rename_run.h"
#include "run_folder.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace velmorandi {
namespace {

using testing::afterMoves;
using testing::Moves;
using testing::RunFolder;
using testing::Snapshot;
using testing::TempFolder;

const std::vector<std::string> kFiles{"0.txt", "1.txt", "2.txt", "a.txt", "b.txt"};
const Moves kMoves{{"0.txt", "1.txt"},
                   {"1.txt", "2.txt"},
                   {"2.txt", "3.txt"},
                   {"a.txt", "b.txt"},
                   {"b.txt", "a.txt"}};

// The undo can only work from what the rename left on disk.
void renameInAnotherProcess(const RunFolder& folder) {
    ASSERT_TRUE(testing::succeedsInAnotherProcess([&folder] {
        return ExecuteRun(folder.request(kMoves), RunControl()).kind == RunResult::Kind::Completed;
    }));
}

struct Change {
    const char* label;
    void (*apply)(const std::string& folder);
    const char* named; // the file the message must name
};

// A run completes, then `change` happens; the undo refuses and touches nothing.
void expectUndoRefused(const Change& change) {
    SCOPED_TRACE(change.label);
    TempFolder parent;
    RunFolder folder(parent.path(), kFiles);
    ASSERT_EQ(ExecuteRun(folder.request(kMoves), RunControl()).kind, RunResult::Kind::Completed);
    change.apply(folder.path());
    const Snapshot changed = folder.snapshot();
    const RunResult result = ExecuteUndo(folder.path(), RunControl());
    EXPECT_NE(result.kind, RunResult::Kind::Completed);
    EXPECT_NE(result.message.find(change.named), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("No file has been renamed"), std::string::npos);
    EXPECT_EQ(folder.snapshot(), changed);
}

TEST(Undo, TakesTheLastRunBackOnceAfterARestart) {
    TempFolder parent;
    RunFolder folder(parent.path(), kFiles);
    const Snapshot before = folder.snapshot();
    EXPECT_FALSE(CanUndo(folder.path()));
    renameInAnotherProcess(folder);
    ASSERT_EQ(folder.snapshot(), afterMoves(before, kMoves));
    EXPECT_TRUE(CanUndo(folder.path()));

    RenameList list;
    const CommitOutcome outcome =
        FinishRun(list, folder.path(), ExecuteUndo(folder.path(), RunControl()));
    EXPECT_EQ(outcome.kind, CommitOutcome::Kind::Completed);
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(folder.snapshot(), before);
    ASSERT_EQ(list.size(), kFiles.size());
    for (const RenameRow& row : list.rows())
        EXPECT_EQ(row.status(), RowStatus::Done);

    // An undone run is gone.
    EXPECT_FALSE(CanUndo(folder.path()));
    const RunResult again = ExecuteUndo(folder.path(), RunControl());
    EXPECT_NE(again.kind, RunResult::Kind::Completed);
    EXPECT_NE(again.message.find("There is no rename to undo"), std::string::npos);
    EXPECT_EQ(folder.snapshot(), before);
}

TEST(Undo, RefusedWhenAFileChangedMeanwhile) {
    const Change changes[]{
        {"renamed away",
         [](const std::string& f) { std::filesystem::rename(f + "/3.txt", f + "/9.txt"); },
         "3.txt"},
        {"old name taken", [](const std::string& f) { std::ofstream(f + "/0.txt") << "new"; },
         "0.txt"},
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
                       "b.txt"});
}

} // namespace
} // namespace velmorandi
