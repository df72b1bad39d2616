// A file another program holds: a hold of a moment is ridden through, one that
// lasts rolls the whole run back and names the file, and where the system
// tells, the programs that hold it.
#include "on_platform.h"
#include "run_folder.h"
#include "run_support.h"

#include <gtest/gtest.h>

namespace velmorandi {
namespace {

using testing::Snapshot;
using testing::TempFolder;
using testing::TestRecords;

// Every call that would rename `held` is refused as in use, `holds` times;
// `asked` lists the files the system is asked the holders of.
DiskSeam holding(const std::string& held, int holds, int& refused,
                 std::vector<std::string>& asked) {
    return
        [held, holds, &refused, &asked](DiskCall call, std::string_view a, std::string_view,
                                        const std::function<std::optional<SystemError>()>& perform)
            -> std::optional<SystemError> {
            if (call == DiskCall::AskHolders)
                asked.emplace_back(a);
            if (testing::renamesAFile(call) && a == held && refused < holds) {
                ++refused;
                return SystemError{testing::kInUseCode, "in use"};
            }
            return perform();
        };
}

TEST(HeldFile, BriefHoldsAreRiddenThroughAndALastingOneRollsBackNamingTheFile) {
    const testing::Moves moves{{"a.jpg", "x.jpg"}, {"b.jpg", "y.jpg"}, {"c.jpg", "z.jpg"}};
    for (const int holds : {1, 4, 1'000}) {
        SCOPED_TRACE(std::to_string(holds) + " holds");
        const TempFolder parent;
        TempFolder folder(parent.path(), {"a.jpg", "b.jpg", "c.jpg"});
        const Snapshot before = folder.snapshot();
        TestRecords records;
        int refused = 0;
        std::vector<std::string> asked;
        RunTesting testing;
        testing.seam = holding("b.jpg", holds, refused, asked);
        const RunResult result = ExecuteRun(runRequest(folder, moves), records.control(&testing));
        if (holds < 1'000) {
            EXPECT_EQ(result.outcome, RunOutcome::Completed);
            EXPECT_EQ(refused, holds);
            EXPECT_TRUE(asked.empty()) << "no program is looked for while the run goes on";
            EXPECT_EQ(folder.snapshot(), testing::afterMoves(before, moves));
            continue;
        }
        EXPECT_LT(refused, 20) << "a lasting hold is given up after about two seconds";
        EXPECT_EQ(result.outcome, RunOutcome::Failed);
        EXPECT_EQ(result.news.failure.kind, RunFailure::Kind::RenameFailed);
        EXPECT_EQ(result.news.failure.from, "b.jpg");
        EXPECT_EQ(platform::errorKind(result.news.failure.error), ErrorKind::InUse);
        // Asked once, of the held file; nothing holds it really, so no program is named.
        EXPECT_EQ(asked, std::vector<std::string>{"b.jpg"});
        EXPECT_TRUE(result.news.failure.holders.empty());
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_TRUE(RecoverInterruptedRuns(records.control()).empty());
    }
}

} // namespace
} // namespace velmorandi
