#include "run/preflight.h"

#include "run/name_index.h"
#include "run/name_keys.h"

#include <limits>

namespace velmorandi {

Preflight checkMoves(std::vector<PlannedMove>& moves,
                     const std::vector<platform::FolderEntry>& entries, bool ignoresCase) {
    NameKeys keyOf(ignoresCase);
    NameIndex byExactName(entries.size()); // a move's source is matched by its exact name
    NameIndex holders(entries.size());     // key -> how many entries stay under it
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        byExactName.at(entries[i].name) = i;
        ++holders.at(keyOf(entries[i].name));
    }

    Preflight result;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const std::uint32_t* entry = byExactName.find(moves[i].from);
        if (!entry) {
            result.missing.push_back(i);
            continue;
        }
        moves[i].identity = entries[*entry].identity;
        --holders.at(keyOf(moves[i].from));
    }

    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    NameIndex firstTarget(moves.size());
    std::vector<bool> marked(moves.size(), false);
    for (std::uint32_t i = 0; i < moves.size(); ++i) {
        const std::string_view key = keyOf(moves[i].to);
        std::uint32_t& first = firstTarget.at(key, kNone);
        if (first == kNone) {
            first = i;
        } else {
            marked[first] = true;
            marked[i] = true;
        }
        const std::uint32_t* held = holders.find(key);
        if (held && *held > 0)
            marked[i] = true;
    }
    for (std::size_t i = 0; i < moves.size(); ++i)
        if (marked[i])
            result.taken.push_back(i);
    return result;
}

} // namespace velmorandi
