#include "run/preflight.h"

#include "letter_case.h"
#include "name_index.h"
#include "run/entry_batch.h"
#include "run/name_keys.h"

#include <algorithm>
#include <functional>
#include <ranges>

namespace velmorandi {
namespace {

// Moves that share a target, letter case aside where the folder ignores it.
void markSharedTargets(const std::vector<std::uint32_t>& firstTarget, std::vector<bool>& marked) {
    for (std::uint32_t i = 0; i < firstTarget.size(); ++i) {
        if (firstTarget[i] != i) {
            marked[firstTarget[i]] = true;
            marked[i] = true;
        }
    }
}

// Each move's verdict, from the flags at the first move of its names.
void conclude(std::vector<PlannedMove>& moves, const std::vector<std::uint32_t>& firstSource,
              const std::vector<std::uint32_t>& firstTarget, const std::vector<bool>& marked,
              const std::vector<bool>& found, const std::vector<bool>& held, Preflight& result) {
    for (std::uint32_t i = 0; i < moves.size(); ++i) {
        const std::uint32_t source = firstSource[i];
        if (found[source])
            moves[i].identity = moves[source].identity;
        else
            result.missing.push_back(i);
        if (marked[i] || held[firstTarget[i]])
            result.taken.push_back(i);
    }
}

// Both flags sit at the first move of a name: its source was seen, or an
// entry that stays holds its target key.
struct Sightings {
    explicit Sightings(std::size_t moves) : found(moves, false), held(moves, false) {}
    std::vector<bool> found;
    std::vector<bool> held;
};

// Reads the folder once: each source's entry and its number, each target that
// an entry which stays holds, and every entry under the temporary prefix.
// `index` runs while the system begins to read.
template <class SourceIndex, class TargetIndex>
std::optional<SystemError>
seeFolder(const platform::FolderHandle& folder, const Disk& disk, const SourceIndex& bySource,
          const TargetIndex& byTarget, const std::function<void()>& index,
          const std::string& prefixKey, bool ignoresCase, std::vector<PlannedMove>& moves,
          Sightings& seen, Preflight& result) {
    std::string folded;
    const auto seeEntry = [&](const platform::EntryView& entry, std::uint32_t source) {
        std::string_view key = entry.name;
        if (ignoresCase)
            key = folded = foldCase(entry.name);
        if (!prefixKey.empty() && key.starts_with(prefixKey))
            result.prefixed.emplace_back(entry.name);
        if (source != bySource.kNone) {
            seen.found[source] = true;
            moves[source].identity = entry.identity;
            return;
        }
        const std::uint32_t target = byTarget.find(key);
        if (target != byTarget.kNone)
            seen.held[target] = true;
    };
    std::uint32_t sources[EntryBatch::kSize];
    EntryBatch batch([&](std::span<const platform::EntryView> entries) {
        findEntries(bySource, entries, sources);
        for (std::size_t i = 0; i < entries.size(); ++i)
            seeEntry(entries[i], sources[i]);
    });
    if (auto error = disk.forEachEntry(
            folder, [&](const platform::EntryView& entry) { batch.add(entry); },
            platform::EntryKinds::Unresolved, index))
        return error;
    batch.finish();
    return std::nullopt;
}

} // namespace

std::optional<SystemError> checkMoves(const platform::FolderHandle& folder, const Disk& disk,
                                      std::vector<PlannedMove>& moves, bool ignoresCase,
                                      std::string_view temporaryPrefix, Preflight& result) {
    NameKeys keyOf(ignoresCase);
    const KeysByPlace targetKeys(
        moves, [](const PlannedMove& move) { return move.to; }, ignoresCase);
    const auto targetKey = [&](std::uint32_t i) { return targetKeys(i); };
    // A move's source is matched by its exact name, its target by its key.
    NameIndex bySource(moves.size(), [&](std::uint32_t i) { return moves[i].from; });
    NameIndex byTarget(moves.size(), targetKey);
    // The first move of each move's source and target name, kept so that the
    // verdicts below need no second look-up.
    std::vector<std::uint32_t> firstSource(moves.size());
    std::vector<std::uint32_t> firstTarget(moves.size());
    std::vector<bool> marked(moves.size(), false);
    // Filled while the system begins to read the folder.
    const auto index = [&] {
        bySource.insertAll(firstSource);
        byTarget.insertAll(firstTarget);
        markSharedTargets(firstTarget, marked);
    };

    Sightings seen(moves.size());
    if (auto error =
            seeFolder(folder, disk, bySource, byTarget, index, std::string(keyOf(temporaryPrefix)),
                      ignoresCase, moves, seen, result))
        return error;

    if (!ignoresCase && std::equal(firstSource.begin(), firstSource.end(),
                                   std::views::iota(std::uint32_t{0}).begin()))
        result.successors =
            targetsAmongSources(moves, bySource, [](std::string_view to) { return to; });

    conclude(moves, firstSource, firstTarget, marked, seen.found, seen.held, result);
    return std::nullopt;
}

} // namespace velmorandi
