#include "run/preflight.h"

#include "run/name_index.h"
#include "run/name_keys.h"

#include <limits>
#include <optional>

namespace velmorandi {

Preflight checkMoves(std::vector<PlannedMove>& moves,
                     const std::vector<platform::FolderEntry>& entries, bool ignoresCase) {
    NameKeys keyOf(ignoresCase);
    NameIndex byExactName(entries.size()); // a move's source is matched by its exact name
    // Where case counts a name is its own key, and one index serves both.
    std::optional<NameIndex> byFoldedName;
    if (ignoresCase)
        byFoldedName.emplace(entries.size());
    NameIndex& byKey = ignoresCase ? *byFoldedName : byExactName;
    // How many entries stay under a key, counted at the first entry bearing it.
    std::vector<std::uint32_t> holders(entries.size(), 0);
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        byExactName.at(entries[i].name) = i;
        ++holders[byKey.at(keyOf(entries[i].name), i)];
    }

    Preflight result;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const std::uint32_t* entry = byExactName.find(moves[i].from);
        if (!entry) {
            result.missing.push_back(i);
            continue;
        }
        moves[i].identity = entries[*entry].identity;
        --holders[*byKey.find(keyOf(moves[i].from))];
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
        const std::uint32_t* held = byKey.find(key);
        if (held && holders[*held] > 0)
            marked[i] = true;
    }
    for (std::size_t i = 0; i < moves.size(); ++i)
        if (marked[i])
            result.taken.push_back(i);
    return result;
}

} // namespace velmorandi
