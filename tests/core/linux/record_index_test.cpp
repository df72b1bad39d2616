#include "another_process.h"
#include "run_folder.h"
#include "run_support.h"
#include "session/folder_session.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// The records as last read are kept, and asked again at every folder opened:
// they must never offer what another process changed since, nor poison what
// they keep when a read fails. The folder of records is made to look an hour
// old before each look, as it would between two clicks, so that its stamp is
// what tells a change.
namespace velmorandi {
namespace {

using testing::CallSweep;
using testing::Moves;
using testing::Snapshot;
using testing::TempFolder;
using testing::TestRecords;

const std::vector<std::string> kFiles{"a.txt", "b.txt", "c.txt"};
const Moves kMoves{{"a.txt", "b.txt"}, {"b.txt", "a.txt"}, {"c.txt", "d.txt"}};

void age(const std::string& folder) {
    std::filesystem::last_write_time(std::filesystem::path(folder),
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::hours(1));
}

bool inAnotherProcess(const std::function<RunResult()>& run) {
    return testing::succeedsInAnotherProcess(
        [&] { return run().outcome == RunOutcome::Completed; });
}

// Every call the records' reads make, for one look.
struct Counted {
    CallSweep sweep{CallSweep::kNever, CallSweep::kNever};
    RunTesting testing;
    explicit Counted() { testing.seam = sweep.seam(); }
    std::size_t of(DiskCall kind) const {
        const std::vector<DiskCall> kinds = sweep.kinds();
        return static_cast<std::size_t>(std::count(kinds.begin(), kinds.end(), kind));
    }
};

std::vector<std::string> sealedRecords(const TestRecords& records) {
    std::vector<std::string> sealed;
    for (const std::string& name : records.entries())
        if (name.ends_with(".journal"))
            sealed.push_back(name);
    return sealed;
}

TEST(RecordIndex, SeesWhatAnotherProcessWroteOrRemovedAndOpensEachRecordOnce) {
    TempFolder parent;
    TestRecords records;
    TempFolder folder(parent.path(), kFiles);
    TempFolder other(parent.path(), kFiles);
    ASSERT_EQ(ExecuteRun(runRequest(other, kMoves), records.control()).outcome,
              RunOutcome::Completed);
    age(records.path());
    EXPECT_FALSE(CanUndo(folder.path(), records.control()));

    ASSERT_TRUE(inAnotherProcess(
        [&] { return ExecuteRun(runRequest(folder, kMoves), records.control()); }));
    EXPECT_TRUE(CanUndo(folder.path(), records.control()));
    EXPECT_FALSE(CanRedo(folder.path(), records.control()));

    // Opened again with nothing changed: one look at the folder, no record opened.
    age(records.path());
    FolderSession session;
    {
        Counted first;
        const FolderSession::Loaded loaded =
            session.startLoad(folder.path())(records.control(&first.testing));
        EXPECT_TRUE(loaded.canUndo);
        EXPECT_LE(first.of(DiskCall::OpenRecord), 2u);
        Counted again;
        EXPECT_TRUE(session.startLoad(folder.path())(records.control(&again.testing)).canUndo);
        EXPECT_EQ(again.of(DiskCall::RecordFolderStatus), 3u);
        EXPECT_EQ(again.of(DiskCall::ListRecords), 0u);
        EXPECT_EQ(again.of(DiskCall::OpenRecord), 0u);
    }

    ASSERT_TRUE(inAnotherProcess([&] { return ExecuteUndo(folder.path(), records.control()); }));
    EXPECT_FALSE(CanUndo(folder.path(), records.control()));
    EXPECT_TRUE(CanRedo(folder.path(), records.control()));
    age(records.path());
    EXPECT_TRUE(CanRedo(folder.path(), records.control()));
    for (const std::string& name : sealedRecords(records))
        std::filesystem::remove(std::filesystem::path(records.path()) / name);
    EXPECT_FALSE(CanRedo(folder.path(), records.control()));
    EXPECT_FALSE(CanUndo(other.path(), records.control()));
}

// A record changed where it lies leaves the folder's stamp as it was: the
// offer may stand, but the undo reads the record whole and finds it another
// folder's, and touches neither.
TEST(RecordIndex, UndoChecksTheWholeRecordItTakesBack) {
    TempFolder parent;
    TestRecords records;
    TempFolder folder(parent.path(), kFiles);
    TempFolder other(parent.path(), kFiles);
    ASSERT_EQ(ExecuteRun(runRequest(folder, kMoves), records.control()).outcome,
              RunOutcome::Completed);
    ASSERT_EQ(ExecuteRun(runRequest(other, kMoves), records.control()).outcome,
              RunOutcome::Completed);
    age(records.path());
    ASSERT_TRUE(CanUndo(folder.path(), records.control()));
    const std::vector<std::string> sealed = sealedRecords(records);
    ASSERT_EQ(sealed.size(), 2u);
    const std::filesystem::path kept(records.path());
    std::ifstream theirs(kept / sealed[1], std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(theirs), {}};
    std::ofstream(kept / sealed[0], std::ios::binary | std::ios::trunc) << bytes;
    const Snapshot mine = folder.snapshot();
    const Snapshot others = other.snapshot();
    const RunResult undone = ExecuteUndo(folder.path(), records.control());
    EXPECT_NE(undone.outcome, RunOutcome::Completed);
    EXPECT_EQ(undone.news.kind, RunNews::Kind::NothingToUndo);
    EXPECT_EQ(folder.snapshot(), mine);
    EXPECT_EQ(other.snapshot(), others);
}

// Each read of an offer and of a moved run's recovery, failed in turn: the
// look after it, with nothing failing, sees the records as they are.
TEST(RecordIndex, TheSweepFailsEveryReadAndNothingStaysStale) {
    TempFolder parent;
    TestRecords records;
    TempFolder folder(parent.path(), kFiles);
    ASSERT_EQ(ExecuteRun(runRequest(folder, kMoves), records.control()).outcome,
              RunOutcome::Completed);
    age(records.path());
    std::size_t calls = 0;
    {
        const JournalStore cold = JournalStore::at(records.path());
        Counted counted;
        RunControl control = records.control(&counted.testing);
        control.records = &cold;
        EXPECT_TRUE(RecoverMovedRun(folder.path(), control).empty());
        EXPECT_TRUE(CanUndo(folder.path(), control));
        EXPECT_FALSE(CanRedo(folder.path(), control));
        for (const DiskCall kind : {DiskCall::RecordFolderStatus, DiskCall::ListRecords,
                                    DiskCall::OpenRecord, DiskCall::ReadRecord})
            EXPECT_GE(counted.of(kind), 1u) << static_cast<int>(kind);
        calls = counted.sweep.calls();
    }
    for (std::size_t k = 1; k <= calls; ++k) {
        SCOPED_TRACE("failed at call " + std::to_string(k));
        const JournalStore cold = JournalStore::at(records.path());
        CallSweep sweep(k, CallSweep::kNever);
        RunTesting testing;
        testing.seam = sweep.seam();
        RunControl control = records.control(&testing);
        control.records = &cold;
        const Snapshot before = folder.snapshot();
        static_cast<void>(RecoverMovedRun(folder.path(), control));
        static_cast<void>(CanUndo(folder.path(), control));
        EXPECT_FALSE(CanRedo(folder.path(), control));
        EXPECT_EQ(folder.snapshot(), before);
        control.testing = nullptr;
        EXPECT_TRUE(CanUndo(folder.path(), control));
        EXPECT_FALSE(CanRedo(folder.path(), control));
    }
}

} // namespace
} // namespace velmorandi
