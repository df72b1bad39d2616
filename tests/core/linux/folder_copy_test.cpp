// A crashed run's folder on a local Linux drive, where a folder's number and
// birth last: copies of it are never taken for it.
#include "run_folder.h"
#include "run_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace velmorandi {
namespace {

using testing::Snapshot;
using testing::TempFolder;
using testing::TestRecords;

// A copy of every file, or a folder of second names of the same files, as
// `cp -al` makes for a backup: the files of the copy are the run's own.
void copyFolder(const std::string& from, const std::string& to, bool linked) {
    std::filesystem::create_directory(to);
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
        const auto target = std::filesystem::path(to) / entry.path().filename();
        if (linked)
            std::filesystem::create_hard_link(entry.path(), target);
        else
            std::filesystem::copy_file(entry.path(), target);
    }
}

// The run crashes half-way, and its folder is moved before the next start.
// Copies made then on the same volume, one of copied files and one of the
// same files under second names, show every name the folder shows; opened,
// neither is put right as the run's folder, and the record stays. Opened
// where it is now, the folder itself gets every name back, and the record ends.
TEST(RenameRun, CopyOnTheSameVolumeIsNeverTakenForTheRunsFolder) {
    TempFolder parent;
    TempFolder folder(parent.path(), {"a.jpg", "b.jpg", "c.jpg"});
    const Snapshot before = folder.snapshot();
    TestRecords records;
    RunTesting testing;
    testing::CallSweep crash(testing::renamesAFile, 2);
    testing.seam = crash.seam();
    testing::runCutShort(
        runRequest(folder, {{"a.jpg", "x.jpg"}, {"b.jpg", "y.jpg"}, {"c.jpg", "z.jpg"}}),
        records.control(&testing));
    const Snapshot half = folder.snapshot();
    ASSERT_NE(half, before);
    const std::string moved = parent.at("moved");
    std::filesystem::rename(folder.path(), moved);
    const std::string copies[]{parent.at("copy"), parent.at("linked copy")};
    copyFolder(moved, copies[0], false);
    copyFolder(moved, copies[1], true);

    const RecoveryReport start = RecoverInterruptedRuns(records.control());
    ASSERT_EQ(start.notes.size(), 1u) << testing::describe(start);
    EXPECT_EQ(start.notes[0].kind, RecoveryNote::Kind::FolderAway) << testing::describe(start);
    for (const std::string& copy : copies) {
        SCOPED_TRACE(copy);
        const RecoveryReport opened = RecoverMovedRun(copy, records.control());
        EXPECT_TRUE(opened.empty()) << testing::describe(opened);
        EXPECT_EQ(TempFolder::snapshotOf(copy), half);
        EXPECT_EQ(TempFolder::snapshotOf(moved), half);
        EXPECT_FALSE(records.entries().empty()) << "the record stays";
    }

    const RecoveryReport opened = RecoverMovedRun(moved, records.control());
    ASSERT_EQ(opened.notes.size(), 1u) << testing::describe(opened);
    EXPECT_EQ(opened.notes[0].kind, RecoveryNote::Kind::Restored) << testing::describe(opened);
    EXPECT_EQ(TempFolder::snapshotOf(moved), before);
    EXPECT_EQ(TempFolder::snapshotOf(copies[0]), half);
    EXPECT_TRUE(records.entries().empty()) << "the record ends";
    for (const std::string& copy : copies)
        std::filesystem::remove_all(copy);
    std::filesystem::rename(moved, folder.path());
}

} // namespace
} // namespace velmorandi
