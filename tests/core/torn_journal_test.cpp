// A journal cut short at every byte, or with a bit flipped, before the next
// start: recovery either puts every name back or renames nothing and says so;
// no file ever ends under a name it never had, and nothing is deleted.
#include "run_folder.h"
#include "run_support.h"
#include "run_sweep.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace velmorandi {
namespace {

using testing::Snapshot;
using testing::TempFolder;
using testing::TestRecords;

const testing::Moves kMoves{{"a", "b"}, {"b", "a"}, {"c", "d"}, {"e", "c"}};

// A run killed after its record and three renames, and the bytes of its journal.
struct Crash {
    Crash(const std::string& parent, const testing::Mode& mode)
        : folder(parent, {"a", "b", "c", "e"}), before(folder.snapshot()),
          testing(testing::testingFor(testing::Scenario{}, mode)) {
        TestRecords records;
        RunTesting crashing = testing;
        testing::CallSweep crash(testing::renamesAFile, 3);
        crashing.seam = crash.seam();
        testing::runCutShort(runRequest(folder, kMoves), records.control(&crashing));
        crashed = folder.snapshot();
        const std::vector<std::string> kept = records.entries();
        if (kept.size() == 1) {
            std::ifstream in(testing::fileSystemPath(records.path() + "/" + kept.front()),
                             std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    // The next start, with `journal` in its folder of records; what it said.
    RecoveryReport recoverWith(const std::string& journal, TestRecords& records) const {
        std::ofstream(
            testing::fileSystemPath(records.path() + "/run-00000000000000000001-000000.journal"),
            std::ios::binary)
            << journal;
        return RecoverInterruptedRuns(records.control(&testing));
    }
    TempFolder folder;
    Snapshot before;
    Snapshot crashed;
    RunTesting testing;
    std::string bytes;
};

// Nothing acted on, and said so, with the record kept or set aside.
void expectKeptAndTold(const Crash& crash, const std::string& journal, const std::string& label) {
    SCOPED_TRACE(label);
    TestRecords records;
    const RecoveryReport report = crash.recoverWith(journal, records);
    EXPECT_EQ(crash.folder.snapshot(), crash.crashed);
    ASSERT_EQ(report.notes.size(), 1u) << testing::describe(report);
    EXPECT_TRUE(report.notes[0].record.starts_with(records.path())) << testing::describe(report);
    EXPECT_FALSE(records.entries().empty());
}

TEST(TornJournal, CutOrFlippedAnywhereItPutsEverythingBackOrNothing) {
    TempFolder parent;
    for (const testing::Mode& mode : {testing::kModes[1], testing::kModes[2]}) {
        SCOPED_TRACE(mode.label);
        // Whole, or with a torn append after it, the journal is acted on.
        const std::string torn = "DONE\x01\x02\x03";
        for (std::size_t tail = 0; tail <= torn.size(); ++tail) {
            const Crash crash(parent.path(), mode);
            ASSERT_NE(crash.crashed, crash.before);
            TestRecords records;
            static_cast<void>(crash.recoverWith(crash.bytes + torn.substr(0, tail), records));
            EXPECT_EQ(crash.folder.snapshot(), crash.before) << "torn append of " << tail;
        }
        // A sealed journal cut short, or with any bit of it changed, is not.
        const Crash crash(parent.path(), mode);
        ASSERT_FALSE(crash.bytes.empty());
        for (std::size_t cut = 0; cut < crash.bytes.size(); ++cut)
            expectKeptAndTold(crash, crash.bytes.substr(0, cut), "cut at " + std::to_string(cut));
        for (std::size_t at = 0; at < crash.bytes.size(); ++at) {
            std::string flipped = crash.bytes;
            flipped[at] = static_cast<char>(flipped[at] ^ (1 << (at % 8)));
            expectKeptAndTold(crash, flipped, "bit flipped at " + std::to_string(at));
        }
    }
}

// A finished run whose complete mark is missing, cut short at any length or
// damaged: every file bears its new name, so nothing is rolled back. A mark
// missing or torn is written again and the run stays undoable; a damaged
// one sets the record aside, and says so.
TEST(TornJournal, FinishedRunIsNeverRolledBackWhateverItsCompleteMark) {
    TempFolder parent;
    constexpr std::size_t kRecord = 16;
    for (const testing::Mode& mode : {testing::kModes[1], testing::kModes[2]}) {
        for (std::size_t kept = 0; kept <= kRecord; ++kept) {
            const bool damaged = kept == kRecord;
            SCOPED_TRACE(
                std::string(mode.label) +
                (damaged ? ", damaged" : ", " + std::to_string(kept) + " bytes of the mark kept"));
            TempFolder folder(parent.path(), {"a", "b", "c", "e"});
            TestRecords records;
            const RunTesting testing = testing::testingFor(testing::Scenario{}, mode);
            ASSERT_EQ(ExecuteRun(runRequest(folder, kMoves), records.control(&testing)).outcome,
                      RunOutcome::Completed);
            const Snapshot finished = folder.snapshot();
            const std::vector<std::string> entries = records.entries();
            ASSERT_EQ(entries.size(), 1u);
            const auto path = testing::fileSystemPath(records.path() + "/" + entries.front());
            std::string bytes;
            {
                std::ifstream in(path, std::ios::binary);
                bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            }
            if (damaged)
                bytes[bytes.size() - 9] ^= 0x04; // inside the last record's check
            else
                bytes.resize(bytes.size() - kRecord + kept);
            std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
            const RecoveryReport report = RecoverInterruptedRuns(records.control(&testing));
            EXPECT_EQ(folder.snapshot(), finished);
            EXPECT_FALSE(records.entries().empty());
            EXPECT_EQ(CanUndo(folder.path(), records.control()), !damaged);
            if (damaged) {
                ASSERT_EQ(report.notes.size(), 1u) << testing::describe(report);
                EXPECT_EQ(report.notes[0].kind, RecoveryNote::Kind::FinishedButDamaged);
                EXPECT_EQ(report.notes[0].folder, folder.path());
                EXPECT_TRUE(report.notes[0].record.starts_with(records.path()));
            } else {
                EXPECT_TRUE(report.empty()) << testing::describe(report);
            }
        }
    }
}

// A finished run whose complete mark is missing or cut short, and whose folder
// was away at the next start (a drive not plugged in): the record waits. Once
// the folder is opened again, the run stands, its mark is written again, and
// it can be undone.
TEST(TornJournal, FinishedRunAwayAtTheNextStartCanBeUndoneOnceItsFolderIsOpened) {
    TempFolder parent;
    for (const std::size_t kept : {std::size_t{0}, std::size_t{9}}) {
        SCOPED_TRACE(std::to_string(kept) + " bytes of the mark kept");
        TempFolder folder(parent.path(), {"a", "b", "c", "e"});
        const Snapshot before = folder.snapshot();
        TestRecords records;
        ASSERT_EQ(ExecuteRun(runRequest(folder, kMoves), records.control()).outcome,
                  RunOutcome::Completed);
        const Snapshot finished = folder.snapshot();
        const std::vector<std::string> entries = records.entries();
        ASSERT_EQ(entries.size(), 1u);
        const auto path = testing::fileSystemPath(records.path() + "/" + entries.front());
        std::filesystem::resize_file(path, std::filesystem::file_size(path) - 16 + kept);
        const auto away = testing::fileSystemPath(parent.at("away"));
        std::filesystem::rename(testing::fileSystemPath(folder.path()), away);

        const RecoveryReport start = RecoverInterruptedRuns(records.control());
        ASSERT_EQ(start.notes.size(), 1u) << testing::describe(start);
        EXPECT_EQ(start.notes[0].kind, RecoveryNote::Kind::FolderAway);
        std::filesystem::rename(away, testing::fileSystemPath(folder.path()));
        EXPECT_FALSE(CanUndo(folder.path(), records.control()));

        const RecoveryReport opened = RecoverMovedRun(folder.path(), records.control());
        EXPECT_TRUE(opened.empty()) << testing::describe(opened);
        EXPECT_EQ(folder.snapshot(), finished);
        ASSERT_TRUE(CanUndo(folder.path(), records.control()));
        const RunResult undone = ExecuteUndo(folder.path(), records.control());
        EXPECT_EQ(undone.outcome, RunOutcome::Completed) << testing::describe(undone.news);
        EXPECT_EQ(folder.snapshot(), before);
    }
}

} // namespace
} // namespace velmorandi
