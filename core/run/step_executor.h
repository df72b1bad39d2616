#pragma once

#include "platform/folder_access.h"
#include "rename_commit.h"
#include "run/run_plan.h"

#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// Carries out steps in one folder, each through the test seam when one is set.
class StepExecutor {
  public:
    StepExecutor(const platform::FolderHandle& folder, const std::vector<PlannedMove>& moves,
                 const RenameSeam& seam);

    std::optional<SystemError> perform(const RunStep& step) const;

    // Takes steps [0, done) back, last first. Returns "listed is now current"
    // for every file that could not get its name back.
    std::vector<std::string> rollBack(const std::vector<RunStep>& steps, std::size_t done) const;

  private:
    const platform::FolderHandle& m_folder;
    const std::vector<PlannedMove>& m_moves;
    const RenameSeam& m_seam;
    mutable std::string m_a;
    mutable std::string m_b;
};

} // namespace velmorandi
