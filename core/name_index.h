#pragma once

#include "platform/prefetch.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

namespace velmorandi {

// Places (indexes into the caller's names) by name, in one flat array of
// 8-byte slots: node-based maps spend more time allocating than hashing for a
// folder of 100,000 names, and a slot that also held the name cost three
// times the memory. `keyOf(place)` gives the name at a place; the names must
// outlive the index.
template <class KeyOf> class NameIndex {
  public:
    static constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

    NameIndex(std::size_t capacity, KeyOf keyOf) : m_keyOf(std::move(keyOf)) {
        std::size_t size = 16;
        while (size < 2 * capacity)
            size *= 2;
        m_slots.resize(size);
        m_mask = size - 1;
    }

    // Places 0, 1, ... firsts.size() - 1 in turn; firsts[place] is the first
    // place under the same name, `place` itself when the name was new. Each
    // place's slot is asked for a few places ahead, so that the waits for a
    // large index's memory overlap.
    void insertAll(std::span<std::uint32_t> firsts) { placeAll(firsts.size(), false, firsts); }
    // Places 0 .. count - 1 in turn; where places share a name, the last is found.
    void assignAll(std::size_t count) { placeAll(count, true, {}); }
    // kNone when no place bears the name.
    std::uint32_t find(std::string_view name) const {
        return m_slots[slotOf(name, std::hash<std::string_view>()(name))].place;
    }

    // find() for a few dozen names at once. Each look-up waits for memory
    // two or three times (slot, place, name); asking for all of a stage's
    // memory before reading any of it lets those waits overlap, which is most
    // of the cost once the index outgrows the cache.
    void findAll(std::span<const std::string_view> names, std::span<std::uint32_t> places) const {
        constexpr std::size_t kMost = 64;
        std::size_t hashes[kMost];
        std::string_view candidates[kMost];
        for (std::size_t begin = 0; begin < names.size(); begin += kMost) {
            const std::size_t count = std::min(kMost, names.size() - begin);
            for (std::size_t i = 0; i < count; ++i) {
                hashes[i] = std::hash<std::string_view>()(names[begin + i]);
                platform::prefetch(&m_slots[hashes[i] & m_mask]);
            }
            for (std::size_t i = 0; i < count; ++i) {
                const Slot& slot = m_slots[hashes[i] & m_mask];
                candidates[i] = {};
                if (slot.place != kNone && slot.tag == tagOf(hashes[i])) {
                    candidates[i] = m_keyOf(slot.place);
                    platform::prefetch(candidates[i].data());
                }
            }
            for (std::size_t i = 0; i < count; ++i) {
                const std::string_view name = names[begin + i];
                const Slot& slot = m_slots[hashes[i] & m_mask];
                places[begin + i] = candidates[i].data() && candidates[i] == name
                                        ? slot.place
                                        : m_slots[slotOf(name, hashes[i])].place;
            }
        }
    }

  private:
    void placeAll(std::size_t count, bool replace, std::span<std::uint32_t> firsts) {
        constexpr std::size_t kAhead = 16;
        std::size_t hashes[kAhead];
        const auto hashAhead = [&](std::size_t place) {
            const std::size_t hash =
                std::hash<std::string_view>()(m_keyOf(static_cast<std::uint32_t>(place)));
            hashes[place % kAhead] = hash;
            platform::prefetch(&m_slots[hash & m_mask]);
        };
        for (std::size_t place = 0; place < std::min(kAhead, count); ++place)
            hashAhead(place);
        for (std::size_t place = 0; place < count; ++place) {
            const std::size_t hash = hashes[place % kAhead];
            if (place + kAhead < count)
                hashAhead(place + kAhead);
            const auto own = static_cast<std::uint32_t>(place);
            Slot& slot = m_slots[slotOf(m_keyOf(own), hash)];
            if (replace || slot.place == kNone)
                slot = {own, tagOf(hash)};
            if (!firsts.empty())
                firsts[place] = slot.place;
        }
    }

    struct Slot {
        std::uint32_t place = kNone;
        std::uint32_t tag = 0; // high bits of the name's hash: most mismatches never read a name
    };
    static std::uint32_t tagOf(std::size_t hash) {
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(hash) >> 32);
    }
    std::size_t slotOf(std::string_view name, std::size_t hash) const {
        const std::uint32_t tag = tagOf(hash);
        std::size_t index = hash & m_mask;
        while (m_slots[index].place != kNone &&
               (m_slots[index].tag != tag || m_keyOf(m_slots[index].place) != name))
            index = (index + 1) & m_mask;
        return index;
    }
    KeyOf m_keyOf;
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

} // namespace velmorandi
