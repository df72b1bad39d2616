#pragma once

#include "run/run.h"
#include "temp_folder.h"

#include <string>
#include <utility>
#include <vector>

namespace velmorandi::testing {

using Moves = std::vector<std::pair<std::string, std::string>>;

// The run of `moves` in the folder, in their order.
inline RunRequest runRequest(const TempFolder& folder, const Moves& moves) {
    RunRequest request{folder.path(), {}};
    for (std::size_t i = 0; i < moves.size(); ++i)
        request.moves.push_back({moves[i].first, moves[i].second, {}, 0, i});
    return request;
}

// What the folder holds once the moves are done.
inline Snapshot afterMoves(Snapshot before, const Moves& moves) {
    Snapshot after = before;
    for (const auto& [from, to] : moves)
        after.erase(from);
    for (const auto& [from, to] : moves)
        after[to] = before.at(from);
    return after;
}

} // namespace velmorandi::testing
