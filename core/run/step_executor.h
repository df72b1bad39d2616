#pragma once

#include "platform/folder_access.h"
#include "run/disk.h"
#include "run/run_plan.h"

#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// The ways a step can rename without ever replacing a file, best first. A
// drive that cannot do one refuses it at once, without changing anything,
// and the next is used for the rest of the run.
enum class RenameWay : std::uint8_t {
    NoReplaceFlag,  // one rename that the system refuses where the name is taken
    LinkThenUnlink, // a second name (refused where taken), then the first one removed
    Placeholder     // an empty file made under the new name, then a rename onto it
};

// Carries out a run's steps in one folder, one system call at a time.
class StepExecutor {
  public:
    StepExecutor(const platform::FolderHandle& folder, const std::vector<PlannedMove>& moves,
                 const Disk& disk, RenameWay firstWay);

    // A step that fails leaves the folder as before the step where it can: a
    // second name or a placeholder it made is removed again.
    std::optional<SystemError> perform(const RunStep& step);
    // The way the drive was found to take; later runs in the folder start there.
    RenameWay way() const { return m_way; }

  private:
    std::optional<SystemError> rename(const std::string& from, const std::string& to);
    std::optional<SystemError> renameByLink(const std::string& from, const std::string& to);
    std::optional<SystemError> renameOntoPlaceholder(const std::string& from,
                                                     const std::string& to);

    const platform::FolderHandle& m_folder;
    const std::vector<PlannedMove>& m_moves;
    const Disk& m_disk;
    RenameWay m_way;
    // The system wants names that end in a zero byte; the buffers are reused.
    std::string m_a;
    std::string m_b;
};

// Removes a name left by a step stopped half-way, only where it holds no data
// of its own: an empty plain file, or a second name of a file. Fails, having
// removed nothing, where the entry is neither or is gone.
std::optional<SystemError> removeLeftover(const platform::FolderHandle& folder, const Disk& disk,
                                          const std::string& name);

} // namespace velmorandi
