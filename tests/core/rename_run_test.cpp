#include "paths.h"
#include "platform/run_platform.h"
#include "run/journal_store.h"
#include "run/rename_run.h"
#include "run_sweep.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

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
}

} // namespace
} // namespace velmorandi
