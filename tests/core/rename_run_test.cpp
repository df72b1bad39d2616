#include "paths.h"
#include "run_folder.h"
#include "run_support.h"
#include "run_sweep.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmorandi {
namespace {

using testing::kModes;
using testing::Mode;
using testing::Scenario;
using testing::scenarios;
using testing::Snapshot;
using testing::sweep;
using testing::TempFolder;
using testing::TestRecords;

// Under Wine, where the Windows build is tested, a file call costs many times
// what it costs on Linux: there the recovery is crashed, not also failed, at
// each of its calls.
#ifdef _WIN32
constexpr testing::Nested kRecoveryFaults = testing::Nested::Crashes;
#else
constexpr testing::Nested kRecoveryFaults = testing::Nested::Fully;
#endif

TEST(RenameRun, EveryCallFailedOrCrashedLeavesTheFolderAsBefore) {
    TempFolder parent;
    for (const Scenario& scenario : scenarios())
        for (const Mode& mode : kModes)
            sweep(parent.path(), scenario, mode, kRecoveryFaults);
}

// Under ThreadSanitizer in CI: the streams' overlap, which the sweep above
// serialises so that its runs stay the same.
TEST(RenameRun, OverlappingStreamsFailedOrCrashedLeaveTheFolderAsBefore) {
    TempFolder parent;
    for (const Scenario& scenario : scenarios())
        if (scenario.taken.empty())
            for (const Mode& mode : kModes)
                testing::sweepOverlap(parent.path(), scenario, mode);
}

// Call k of a stream is the same call in every run, serialised or not: the
// sweep's numbers mean the same each time it runs.
TEST(RenameRun, SweepNumbersTheSameCallsInEveryRun) {
    TempFolder parent;
    using Overlap = testing::CallSweep::Overlap;
    for (const Scenario& scenario : scenarios()) {
        for (const Mode& mode : kModes) {
            SCOPED_TRACE(std::string(scenario.label) + ", " + mode.label);
            std::vector<testing::SweepRun> runs;
            for (const Overlap overlap : {Overlap::Serialised, Overlap::Serialised,
                                          Overlap::Overlapping, Overlap::Overlapping}) {
                TempFolder folder(parent.path(), scenario.files);
                TestRecords records;
                testing::CallSweep counting(testing::CallSweep::kNever, testing::CallSweep::kNever,
                                            testing::Stream::Run, overlap);
                runs.push_back(testing::runWith(folder, records, scenario, mode, counting));
            }
            for (const testing::SweepRun& run : runs) {
                EXPECT_EQ(testing::describe(run.kinds), testing::describe(runs[0].kinds));
                EXPECT_EQ(testing::describe(run.beside), testing::describe(runs[0].beside));
            }
        }
    }
}

// A run interrupted in a folder that is then moved: the next start cannot
// reach it and keeps the record; opening the folder where it is now puts
// every name back there, and only there, and the record goes once the
// folder is proven its own.
TEST(RenameRun, MovedFolderIsRestoredWhereItIsOpened) {
    TempFolder parent;
    TestRecords records;
    TempFolder folder(parent.path(), {"a.jpg", "b.jpg", "c.jpg"});
    const Snapshot before = folder.snapshot();
    const testing::Moves moves{{"a.jpg", "x.jpg"}, {"b.jpg", "y.jpg"}, {"c.jpg", "z.jpg"}};
    for (const Mode& mode : {kModes[0], kModes[2]}) {
        SCOPED_TRACE(mode.label);
        RunTesting testing = testingFor(Scenario{}, mode);
        testing::CallSweep crash(testing::renamesAFile, 2);
        testing.seam = crash.seam();
        testing::runCutShort(runRequest(folder, moves), records.control(&testing));
        const Snapshot half = folder.snapshot();
        ASSERT_NE(half, before);
        const std::string movedTo = parent.at("moved");
        std::filesystem::rename(folder.path(), movedTo);
        std::filesystem::create_directory(folder.path()); // another folder in its place

        testing.seam = nullptr;
        const RecoveryReport report = RecoverInterruptedRuns(records.control(&testing));
        ASSERT_EQ(report.notes.size(), 1u) << testing::describe(report);
        // Without lasting file numbers (Windows) the empty folder in its place
        // is not proven another: there the names cannot tell how far the run got.
        EXPECT_TRUE(report.notes[0].kind == RecoveryNote::Kind::FolderReplaced ||
                    report.notes[0].kind == RecoveryNote::Kind::Unproven)
            << testing::describe(report);
        EXPECT_EQ(report.notes[0].folder, folder.path());
        EXPECT_EQ(TempFolder::snapshotOf(movedTo), half);
        EXPECT_TRUE(RecoverMovedRun(parent.path(), records.control(&testing)).empty());
        EXPECT_EQ(TempFolder::snapshotOf(movedTo), half);

        EXPECT_FALSE(RecoverMovedRun(movedTo, records.control(&testing)).empty());
        EXPECT_EQ(TempFolder::snapshotOf(movedTo), before);
        // The record goes at once where a birth or a lasting number proves the
        // move (Linux), else once the folder is back in its own place.
        std::filesystem::remove(folder.path());
        std::filesystem::rename(movedTo, folder.path());
        static_cast<void>(RecoverInterruptedRuns(records.control(&testing)));
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_TRUE(RecoverInterruptedRuns(records.control(&testing)).empty());
    }
}

} // namespace
} // namespace velmorandi
