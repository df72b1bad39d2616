#include "run/preflight.h"

#include "run/name_index.h"
#include "run/name_keys.h"

#include <optional>

namespace velmorandi {
namespace {

// An entry's name, or where the folder ignores case the key made of it.
struct EntryName {
    const std::vector<platform::FolderEntry>* entries;
    const std::vector<std::string_view>* keys; // nullptr: the exact name
    std::string_view operator()(std::uint32_t i) const {
        return keys ? (*keys)[i] : std::string_view((*entries)[i].name);
    }
};

} // namespace

Preflight checkMoves(std::vector<PlannedMove>& moves,
                     const std::vector<platform::FolderEntry>& entries, bool ignoresCase) {
    NameKeys keyOf(ignoresCase);
    std::vector<std::string_view> entryKeys;
    std::vector<std::string_view> targetKeys;
    if (ignoresCase) {
        entryKeys.reserve(entries.size());
        for (const platform::FolderEntry& entry : entries)
            entryKeys.push_back(keyOf(entry.name));
        targetKeys.reserve(moves.size());
        for (const PlannedMove& move : moves)
            targetKeys.push_back(keyOf(move.to));
    }
    // A move's source is matched by its exact name.
    NameIndex byExactName(entries.size(), EntryName{&entries, nullptr});
    // Where case counts a name is its own key, and one index serves both.
    std::optional<NameIndex<EntryName>> byFoldedName;
    if (ignoresCase)
        byFoldedName.emplace(entries.size(), EntryName{&entries, &entryKeys});
    NameIndex<EntryName>& byKey = ignoresCase ? *byFoldedName : byExactName;
    // How many entries stay under a key, counted at the first entry bearing it.
    std::vector<std::uint32_t> holders(entries.size(), 0);
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        if (ignoresCase)
            byExactName.assign(i);
        ++holders[byKey.insert(i)];
    }

    Preflight result;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const std::uint32_t entry = byExactName.find(moves[i].from);
        if (entry == byExactName.kNone) {
            result.missing.push_back(i);
            continue;
        }
        moves[i].identity = entries[entry].identity;
        --holders[byKey.find(keyOf(moves[i].from))];
    }

    const auto targetKey = [&](std::uint32_t i) {
        return ignoresCase ? targetKeys[i] : moves[i].to;
    };
    NameIndex firstTarget(moves.size(), targetKey);
    std::vector<bool> marked(moves.size(), false);
    for (std::uint32_t i = 0; i < moves.size(); ++i) {
        const std::uint32_t first = firstTarget.insert(i);
        if (first != i) {
            marked[first] = true;
            marked[i] = true;
        }
        const std::uint32_t held = byKey.find(targetKey(i));
        if (held != byKey.kNone && holders[held] > 0)
            marked[i] = true;
    }
    for (std::size_t i = 0; i < moves.size(); ++i)
        if (marked[i])
            result.taken.push_back(i);
    return result;
}

} // namespace velmorandi
