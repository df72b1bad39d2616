#pragma once

#include "platform/folder_access.h"
#include "run/run_plan.h"

#include <cstddef>
#include <vector>

namespace velmorandi {

// What the folder says about a run before anything is touched.
struct Preflight {
    // Moves whose target is held by an entry the run does not move, or shared
    // with another move (letter case aside, where the folder ignores it).
    std::vector<std::size_t> taken;
    // Moves whose file is no longer in the folder.
    std::vector<std::size_t> missing;
};

// Also sets each move's identity from the folder's entries.
Preflight checkMoves(std::vector<PlannedMove>& moves,
                     const std::vector<platform::FolderEntry>& entries, bool ignoresCase);

} // namespace velmorandi
