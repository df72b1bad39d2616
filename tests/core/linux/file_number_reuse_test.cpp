// A file number is given out again once its file is gone: neither recovery
// nor undo may take the new file for the old one.
#include "run/step_executor.h"
#include "run_folder.h"
#include "run_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace velmorandi {
namespace {

using testing::Snapshot;
using testing::TempFolder;
using testing::TestRecords;

ino_t numberOf(const std::filesystem::path& file) {
    struct stat status {};
    return ::lstat(file.c_str(), &status) == 0 ? status.st_ino : 0;
}

// Removes the file under `name` and makes another that bears its number,
// named `newName`. False where the file system would not give the number
// out again soon.
bool replaceKeepingNumber(const std::string& folder, const std::string& name,
                          const std::string& newName) {
    const std::filesystem::path path = std::filesystem::path(folder) / name;
    const ino_t wanted = numberOf(path);
    std::filesystem::remove(path);
    std::vector<std::filesystem::path> others;
    bool reused = false;
    for (int attempt = 0; attempt < 256 && !reused; ++attempt) {
        const auto candidate = std::filesystem::path(folder) / ("new-" + std::to_string(attempt));
        std::ofstream(candidate) << "an invoice";
        reused = numberOf(candidate) == wanted;
        if (reused)
            std::filesystem::rename(candidate, std::filesystem::path(folder) / newName);
        else
            others.push_back(candidate);
    }
    for (const auto& other : others)
        std::filesystem::remove(other);
    return reused;
}

const testing::Moves kMoves{{"a.txt", "x_a.txt"}, {"b.txt", "x_b.txt"}, {"c.txt", "x_c.txt"}};

// Memory-backed folders (tmpfs) give numbers out from a counter, never again
// soon: the folder lies on a disk.
TEST(FileNumberReuse, RecoveryAndUndoNeverRenameTheNewFile) {
    const TempFolder parent(TempFolder::onDisk);
    const std::string noReuse = "the file system under " + parent.path() +
                                " does not give a freed file number out again soon";
    for (const std::string newName : {"invoice.pdf", "x_b.txt"}) {
        SCOPED_TRACE(newName);
        // Interrupted after its renames, before it is marked complete.
        {
            TestRecords records;
            TempFolder folder(parent.path(), {"a.txt", "b.txt", "c.txt"});
            RunTesting testing;
            testing.noExchange = true;
            testing::CallSweep crash(testing::renamesAFile, 3);
            testing.seam = crash.seam();
            testing::runCutShort(runRequest(folder, kMoves), records.control(&testing));
            ASSERT_TRUE(std::filesystem::exists(folder.path() + "/x_b.txt"));
            if (!replaceKeepingNumber(folder.path(), "x_b.txt", newName))
                GTEST_SKIP() << noReuse;
            const RecoveryReport report = RecoverInterruptedRuns(records.control());
            ASSERT_EQ(report.notes.size(), 1u) << testing::describe(report);
            const RecoveryNote& note = report.notes[0];
            const bool named =
                std::find(note.missing.begin(), note.missing.end(), "b.txt") !=
                    note.missing.end() ||
                std::any_of(note.stillRenamed.begin(), note.stillRenamed.end(),
                            [](const NameNow& still) { return still.listed == "b.txt"; });
            EXPECT_TRUE(named) << testing::describe(report);
            Snapshot expected{{"a.txt", "content of a.txt"}, {"c.txt", "content of c.txt"}};
            expected[newName] = "an invoice";
            EXPECT_EQ(folder.snapshot(), expected);
        }
        // Completed, then the file replaced: the undo refuses.
        {
            TestRecords records;
            TempFolder folder(parent.path(), {"a.txt", "b.txt", "c.txt"});
            ASSERT_EQ(ExecuteRun(runRequest(folder, kMoves), records.control()).outcome,
                      RunOutcome::Completed);
            if (!replaceKeepingNumber(folder.path(), "x_b.txt", newName))
                GTEST_SKIP() << noReuse;
            const Snapshot changed = folder.snapshot();
            const RunResult undo = ExecuteUndo(folder.path(), records.control());
            EXPECT_NE(undo.outcome, RunOutcome::Completed);
            // Gone under its name, or another file under it.
            EXPECT_TRUE(undo.news.kind == RunNews::Kind::TakeBackFileGone ||
                        undo.news.kind == RunNews::Kind::TakeBackFileReplaced)
                << testing::describe(undo.news);
            EXPECT_EQ(undo.news.name, "x_b.txt");
            EXPECT_EQ(folder.snapshot(), changed);
        }
    }
}

} // namespace
} // namespace velmorandi

namespace velmorandi {
namespace {

// A copy made with its times kept, under the name a step would have given a
// second name, is no second name of the file, even where both have other
// names elsewhere: only one file number proves one file.
TEST(FileNumberReuse, CopyWithLinksOfItsOwnIsNoSecondName) {
    TempFolder folder;
    folder.createFile("a.jpg", "holiday");
    std::filesystem::create_directory(folder.at("elsewhere"));
    platform::FolderHandle handle;
    ASSERT_FALSE(handle.open(folder.path()));
    const Disk disk;
    const Leftover second{Leftover::Kind::SecondName, "x.jpg", "a.jpg"};
    const LeftoverProof byNumbers{"placeholder", true};

    std::filesystem::create_hard_link(folder.at("a.jpg"), folder.at("x.jpg"));
    EXPECT_TRUE(provesLeftover(handle, disk, second, byNumbers));

    std::filesystem::remove(folder.at("x.jpg"));
    std::filesystem::create_hard_link(folder.at("a.jpg"), folder.at("elsewhere/a.jpg"));
    std::filesystem::copy_file(folder.at("a.jpg"), folder.at("x.jpg"));
    std::filesystem::last_write_time(folder.at("x.jpg"),
                                     std::filesystem::last_write_time(folder.at("a.jpg")));
    std::filesystem::create_hard_link(folder.at("x.jpg"), folder.at("elsewhere/x.jpg"));
    EXPECT_FALSE(provesLeftover(handle, disk, second, byNumbers));
    EXPECT_FALSE(removeLeftover(handle, disk, second, byNumbers) == std::nullopt);
    EXPECT_TRUE(std::filesystem::exists(folder.at("x.jpg")));
}

} // namespace
} // namespace velmorandi
