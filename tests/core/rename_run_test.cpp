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

} // namespace
} // namespace velmorandi
