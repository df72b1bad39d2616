#pragma once

#include "platform/prefetch.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

namespace velmorandi {

// A name's hash, eight bytes at a time: names are short, and the standard
// hash spends most of its time on their bytes one by one.
inline std::uint64_t hashName(std::string_view name) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    const auto load64 = [](const char* at) {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        return word;
    };
    const auto load32 = [](const char* at) {
        std::uint32_t word;
        std::memcpy(&word, at, sizeof word);
        return std::uint64_t{word};
    };
    const auto mix = [](std::uint64_t hash, std::uint64_t word) {
        hash = (hash ^ word) * kMultiplier;
        return hash ^ (hash >> 29);
    };
    const char* at = name.data();
    const std::size_t size = name.size();
    std::uint64_t hash = mix(size, kMultiplier);
    std::uint64_t last = 0;
    if (size >= 8) {
        for (std::size_t i = 0; i + 8 < size; i += 8)
            hash = mix(hash, load64(at + i));
        last = load64(at + size - 8); // may overlap the word before: the size is mixed in
    } else if (size >= 4) {
        last = load32(at) | load32(at + size - 4) << 32;
    } else if (size > 0) {
        last = std::uint64_t{static_cast<unsigned char>(at[0])} |
               std::uint64_t{static_cast<unsigned char>(at[size / 2])} << 8 |
               std::uint64_t{static_cast<unsigned char>(at[size - 1])} << 16;
    }
    hash = mix(hash, last);
    // Low bits pick the slot, high bits make the tag: both must depend on every byte.
    hash *= kMultiplier;
    return hash ^ (hash >> 32);
}

// Places (indexes into the caller's names) by name, in one flat array of
// 4-byte slots: node-based maps spend more time allocating than hashing for a
// folder of 100,000 names, and a slot that also held the name cost several
// times the memory. A slot holds its place and, in the bits the place leaves
// free, a tag of the name's hash, so that most mismatches never read a name.
// `keyOf(place)` gives the name at a place; the names must outlive the index.
template <class KeyOf> class NameIndex {
  public:
    static constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

    // `capacity`: how many places there are, 0 to capacity - 1.
    NameIndex(std::size_t capacity, KeyOf keyOf)
        : m_keyOf(std::move(keyOf)),
          m_placeBits(static_cast<unsigned>(std::bit_width(static_cast<std::uint64_t>(capacity)))) {
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
        return placeIn(m_slots[slotOf(name, hashName(name))]);
    }

    // find() for a few dozen names at once. Each look-up waits for memory
    // two or three times (slot, place, name); asking for all of a stage's
    // memory before reading any of it lets those waits overlap, which is most
    // of the cost once the index outgrows the cache.
    void findAll(std::span<const std::string_view> names, std::span<std::uint32_t> places) const {
        constexpr std::size_t kMost = 64;
        std::uint64_t hashes[kMost];
        std::string_view candidates[kMost];
        for (std::size_t begin = 0; begin < names.size(); begin += kMost) {
            const std::size_t count = std::min(kMost, names.size() - begin);
            for (std::size_t i = 0; i < count; ++i) {
                hashes[i] = hashName(names[begin + i]);
                platform::prefetch(&m_slots[hashes[i] & m_mask]);
            }
            for (std::size_t i = 0; i < count; ++i) {
                const Slot slot = m_slots[hashes[i] & m_mask];
                candidates[i] = {};
                if (slot != kEmpty && tagIn(slot) == tagOf(hashes[i])) {
                    candidates[i] = m_keyOf(placeIn(slot));
                    platform::prefetch(candidates[i].data());
                }
            }
            for (std::size_t i = 0; i < count; ++i) {
                const std::string_view name = names[begin + i];
                const Slot slot = m_slots[hashes[i] & m_mask];
                places[begin + i] = candidates[i].data() && candidates[i] == name
                                        ? placeIn(slot)
                                        : placeIn(m_slots[slotOf(name, hashes[i])]);
            }
        }
    }

  private:
    using Slot = std::uint32_t;
    static constexpr Slot kEmpty = 0;

    void placeAll(std::size_t count, bool replace, std::span<std::uint32_t> firsts) {
        constexpr std::size_t kAhead = 16;
        std::uint64_t hashes[kAhead];
        const auto hashAhead = [&](std::size_t place) {
            const std::uint64_t hash = hashName(m_keyOf(static_cast<std::uint32_t>(place)));
            hashes[place % kAhead] = hash;
            platform::prefetch(&m_slots[hash & m_mask]);
        };
        for (std::size_t place = 0; place < std::min(kAhead, count); ++place)
            hashAhead(place);
        for (std::size_t place = 0; place < count; ++place) {
            const std::uint64_t hash = hashes[place % kAhead];
            if (place + kAhead < count)
                hashAhead(place + kAhead);
            const auto own = static_cast<std::uint32_t>(place);
            Slot& slot = m_slots[slotOf(m_keyOf(own), hash)];
            if (replace || slot == kEmpty)
                slot = slotFor(own, hash);
            if (!firsts.empty())
                firsts[place] = placeIn(slot);
        }
    }

    // A slot holds place + 1 in its low m_placeBits bits (0: empty), the tag above.
    Slot slotFor(std::uint32_t place, std::uint64_t hash) const {
        return static_cast<Slot>((std::uint64_t{tagOf(hash)} << m_placeBits) | (place + 1ull));
    }
    std::uint32_t placeIn(Slot slot) const {
        return slot == kEmpty ? kNone : static_cast<std::uint32_t>((slot & placeMask()) - 1);
    }
    std::uint32_t tagIn(Slot slot) const {
        return static_cast<std::uint32_t>(std::uint64_t{slot} >> m_placeBits);
    }
    // The hash's high bits, as many as the place leaves free.
    std::uint32_t tagOf(std::uint64_t hash) const {
        return m_placeBits >= 32 ? 0 : static_cast<std::uint32_t>(hash >> (32 + m_placeBits));
    }
    std::uint64_t placeMask() const { return (std::uint64_t{1} << m_placeBits) - 1; }

    std::size_t slotOf(std::string_view name, std::uint64_t hash) const {
        const std::uint32_t tag = tagOf(hash);
        std::size_t index = hash & m_mask;
        while (m_slots[index] != kEmpty &&
               (tagIn(m_slots[index]) != tag || m_keyOf(placeIn(m_slots[index])) != name))
            index = (index + 1) & m_mask;
        return index;
    }

    KeyOf m_keyOf;
    unsigned m_placeBits;
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

} // namespace velmorandi
