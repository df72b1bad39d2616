#pragma once

#include "platform/folder_access.h"
#include "run/disk.h"
#include "run/run_plan.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// What the folder says about a run before anything is touched.
struct Preflight {
    // Moves whose target is held by an entry the run does not move, or shared
    // with another move (letter case aside, where the folder ignores it).
    std::vector<std::size_t> taken;
    // Moves whose file is no longer in the folder.
    std::vector<std::size_t> missing;
    // The folder's names that start with the temporary prefix, letter case
    // aside where the folder ignores it: the only names a temporary one can meet.
    std::vector<std::string> prefixed;
    // For each move, the move whose file bears its target now (kNone where
    // none does), as buildPlan needs it; empty where the check could not
    // tell it from its own index (letter case ignored, or a source twice).
    std::vector<std::uint32_t> successors;
};

// Reads the folder once, against an index of the moves rather than of the
// folder. Also sets each move's identity from its entry. An empty
// `temporaryPrefix` gathers no names. On error nothing in `result` or in the
// moves' identities may be relied on.
[[nodiscard]] std::optional<SystemError>
checkMoves(const platform::FolderHandle& folder, const Disk& disk, std::vector<PlannedMove>& moves,
           bool ignoresCase, std::string_view temporaryPrefix, Preflight& result);

} // namespace velmorandi
