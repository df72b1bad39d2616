// The folder the program runs from: listed as protected, and no rename there
// touches anything, while a folder inside it is the user's like any other.
#include "folder_loader.h"
#include "platform/program_arguments.h"
#include "rename_list.h"
#include "run_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace velmorandi {
namespace {

using testing::TempFolder;
using testing::TestRecords;

// Should the guard fail, the program's own files still keep their names.
DiskSeam renamingNothing(int& renames) {
    return [&renames](DiskCall call, std::string_view, std::string_view,
                      const std::function<std::optional<SystemError>()>& perform)
               -> std::optional<SystemError> {
        if (!testing::renamesAFile(call))
            return perform();
        ++renames;
        return testing::kInjected;
    };
}

TEST(ProgramFolder, RenameThereIsRefusedUntouchedAndTheWarningShows) {
    const std::string own = platform::programFolder();
    ASSERT_FALSE(own.empty());
    const TempFolder inside(own, {"photo.jpg"});
    const std::string probe =
        "velmorandi-probe-" + std::filesystem::path(inside.path()).filename().string();
    const std::filesystem::path probePath = testing::fileSystemPath(own) / probe;
    std::ofstream(probePath) << "the program's own";
    struct Removed {
        std::filesystem::path path;
        ~Removed() { std::filesystem::remove(path); }
    } removed{probePath};

    RenameList list;
    const LoadOutcome loaded = LoadFolder(list, own);
    ASSERT_FALSE(loaded.error);
    EXPECT_TRUE(loaded.programFolder);
    EXPECT_TRUE(loaded.protectedFileListed);
    const LoadOutcome elsewhere = LoadFolder(list, inside.path());
    EXPECT_FALSE(elsewhere.programFolder);
    EXPECT_FALSE(elsewhere.protectedFileListed);

    TestRecords records;
    int renames = 0;
    RunTesting testing;
    testing.seam = renamingNothing(renames);
    RunRequest there{own, {{probe, "old_" + probe, {}, 0, 0}}};
    const RunResult refused = ExecuteRun(std::move(there), records.control(&testing));
    EXPECT_EQ(refused.outcome, RunOutcome::Failed);
    EXPECT_EQ(refused.news.kind, RunNews::Kind::NothingRenamed);
    EXPECT_EQ(refused.news.failure.kind, RunFailure::Kind::ProgramFolder);
    EXPECT_EQ(renames, 0);
    EXPECT_TRUE(std::filesystem::exists(probePath));

    testing.seam = {};
    RunRequest inFolderInside{inside.path(), {{"photo.jpg", "old_photo.jpg", {}, 0, 0}}};
    EXPECT_EQ(ExecuteRun(std::move(inFolderInside), records.control(&testing)).outcome,
              RunOutcome::Completed);
}

} // namespace
} // namespace velmorandi
