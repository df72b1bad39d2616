#include "paths.h"
#include "platform/run_platform.h"
#include "run/journal_store.h"
#include "run/rename_run.h"
#include "run_folder.h"
#include "run_sweep.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace velmorandi {
namespace {

using testing::kModes;
using testing::Mode;
using testing::Scenario;
using testing::scenarios;
using testing::sweep;
using testing::TempFolder;

TEST(RenameRun, EveryStepFailedOrCrashedLeavesTheFolderAsBefore) {
    TempFolder parent;
    for (const Scenario& scenario : scenarios())
        for (const Mode& mode : kModes)
            sweep(parent.path(), scenario, mode);
}

// An unfinished run whose folder cannot be reached: on a drive that is not
// plugged in its journal waits for the drive; on a drive that is there, the
// folder is gone for good and so is the journal.
TEST(RenameRun, RecoveryWaitsForAFolderOnADriveThatIsAway) {
    TempFolder parent;
    platform::FolderHandle handle;
    ASSERT_FALSE(handle.open(parent.path()));
    platform::FileIdentity here;
    ASSERT_FALSE(platform::folderIdentity(handle, here));

    JournalStore store;
    ASSERT_FALSE(store.open());
    const auto unfinished = [&](const char* folder, std::uint64_t device) {
        Journal journal;
        journal.folder = JoinPath(JoinPath(parent.path(), folder), "photos");
        journal.folderIdentity = {device, 1};
        journal.moves.push_back({"a.jpg", "b.jpg", {}, 0, 0});
        std::string name;
        EXPECT_FALSE(store.create(journal, name));
        return journal.folder;
    };
    const std::string away = unfinished("stick", here.device + 1);
    const std::string deleted = unfinished("deleted", here.device);

    for (int start = 1; start <= 2; ++start) {
        const std::string message = RecoverInterruptedRuns({}).message;
        EXPECT_NE(message.find(away + " was interrupted"), std::string::npos) << message;
        EXPECT_NE(message.find("the next time Velmorandi starts"), std::string::npos) << message;
        // Told once, then forgotten.
        EXPECT_EQ(message.find(deleted + " was interrupted") != std::string::npos, start == 1)
            << message;
        std::vector<std::string> left; // other tests' runs may share the state folder
        for (const JournalStore::Entry& entry : store.list())
            if (entry.header.folder == away || entry.header.folder == deleted)
                left.push_back(entry.header.folder);
        EXPECT_EQ(left, std::vector<std::string>{away});
    }
    // The waiting journal would speak up in every later test of this process.
    for (const JournalStore::Entry& entry : store.list())
        if (entry.header.folder == away)
            store.remove(entry.name);
}

// The same journal as the first format wrote it: each move's four fields
// together, steps of fixed size, the plan summed byte by byte.
std::string inFirstFormat(const std::string& bytes) {
    const std::optional<Journal> journal = decodeJournal(bytes);
    if (!journal)
        return {};
    std::string first;
    const auto little = [&first](std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            first.push_back(static_cast<char>(value >> (8 * i)));
    };
    const auto text = [&](std::string_view value) {
        little(value.size(), 4);
        first.append(value);
    };
    first = "VMRJNL01";
    little(static_cast<std::uint8_t>(journal->kind), 1);
    little((journal->traits.ignoresCase ? 1 : 0) | (journal->traits.stableIdentities ? 2 : 0), 1);
    little(journal->folderIdentity.device, 8);
    little(journal->folderIdentity.inode, 8);
    text(journal->folder);
    text(journal->subject);
    little(journal->moves.size(), 4);
    for (const PlannedMove& move : journal->moves) {
        text(move.from);
        text(move.to);
        text(move.temporary);
        little(move.identity, 8);
    }
    little(journal->plan.steps.size(), 4);
    for (const RunStep& step : journal->plan.steps) {
        little(static_cast<std::uint8_t>(step.op), 1);
        for (const NameRef ref : {step.a, step.b}) {
            little(ref.move, 4);
            little(static_cast<std::uint8_t>(ref.stage), 1);
        }
    }
    little(journal->plan.firstClosingStep, 4);
    const std::size_t bodySize = first.size();
    std::uint64_t sum = 0xcbf29ce484222325ull;
    for (const char c : first)
        sum = (sum ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    first += "PLAN";
    little(bodySize, 8);
    little(sum, 8);
    // The records after the plan, as they were.
    return first + bytes.substr(bytes.rfind("PLAN") + 20);
}

// A run interrupted under the first journal format is still taken back after
// an update.
TEST(RenameRun, RunRecordedInTheFirstJournalFormatIsRecovered) {
    TempFolder parent;
    testing::RunFolder folder(parent.path(), {"a.jpg", "b.jpg", "c.jpg"});
    const testing::Snapshot before = folder.snapshot();
    RunControl control;
    control.testing.abandonAfter = 2;
    ExecuteRun(folder.request({{"a.jpg", "x.jpg"}, {"b.jpg", "y.jpg"}, {"c.jpg", "z.jpg"}}),
               control);
    ASSERT_NE(folder.snapshot(), before);

    JournalStore store;
    ASSERT_FALSE(store.open());
    int rewritten = 0;
    for (const JournalStore::Entry& entry : store.list()) {
        if (entry.header.folder != folder.path())
            continue;
        const auto path = testing::fileSystemPath(store.pathOf(entry.name));
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        in.close();
        ASSERT_EQ(bytes.compare(0, 8, "VMRJNL03"), 0);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << inFirstFormat(bytes);
        ++rewritten;
    }
    ASSERT_EQ(rewritten, 1);
    control.testing.abandonAfter = static_cast<std::size_t>(-1);
    RecoverInterruptedRuns(control);
    EXPECT_EQ(folder.snapshot(), before);
}

} // namespace
} // namespace velmorandi
