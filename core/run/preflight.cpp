#include "run/preflight.h"

#include "letter_case.h"

#include <unordered_map>

namespace velmorandi {
namespace {

std::string keyOf(const std::string& name, bool ignoresCase) {
    return ignoresCase ? foldCase(name) : name;
}

} // namespace

Preflight checkMoves(std::vector<PlannedMove>& moves,
                     const std::vector<platform::FolderEntry>& entries, bool ignoresCase) {
    // Entry key -> the entry; a move's source is matched by its exact name.
    std::unordered_map<std::string, const platform::FolderEntry*> byExactName;
    std::unordered_map<std::string, std::size_t> holders; // key -> how many entries stay there
    byExactName.reserve(entries.size());
    holders.reserve(entries.size());
    for (const platform::FolderEntry& entry : entries) {
        byExactName.emplace(entry.name, &entry);
        ++holders[keyOf(entry.name, ignoresCase)];
    }

    Preflight result;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const auto found = byExactName.find(moves[i].from);
        if (found == byExactName.end()) {
            result.missing.push_back(i);
            continue;
        }
        moves[i].identity = found->second->identity;
        --holders[keyOf(moves[i].from, ignoresCase)];
    }

    std::unordered_map<std::string, std::size_t> firstTarget;
    std::vector<bool> marked(moves.size(), false);
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const std::string key = keyOf(moves[i].to, ignoresCase);
        const auto held = holders.find(key);
        const auto [earlier, first] = firstTarget.emplace(key, i);
        if (!first) {
            marked[earlier->second] = true;
            marked[i] = true;
        }
        if (held != holders.end() && held->second > 0)
            marked[i] = true;
    }
    for (std::size_t i = 0; i < moves.size(); ++i)
        if (marked[i])
            result.taken.push_back(i);
    return result;
}

} // namespace velmorandi
