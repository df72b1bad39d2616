#include "platform/natural_order.h"

#include "ascii_sort_keys.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>
#include <string_view>
#include <thread>

namespace velmorandi {
namespace {

icu::Locale collationLocale() {
    // The C locale maps to en_US_POSIX, whose collation is code point order:
    // every capital before every small letter. That is no one's language.
    const icu::Locale locale = icu::Locale::getDefault();
    if (std::strcmp(locale.getVariant(), "POSIX") == 0)
        return icu::Locale::getRoot();
    return locale;
}

std::unique_ptr<icu::Collator> naturalCollator() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(collationLocale(), status));
    if (U_FAILURE(status))
        return nullptr;
    // Secondary strength: accents count, letter case does not.
    collator->setStrength(icu::Collator::SECONDARY);
    collator->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    if (U_FAILURE(status))
        return nullptr;
    return collator;
}

// Bytes that are not UTF-8 become U+FFFD; the byte tie break still orders them.
void toUtf16(std::string_view name, std::vector<char16_t>& text) {
    text.clear();
    const auto* bytes = reinterpret_cast<const uint8_t*>(name.data());
    const auto length = static_cast<int32_t>(name.size());
    int32_t offset = 0;
    while (offset < length) {
        if (bytes[offset] < 0x80) {
            text.push_back(bytes[offset++]);
            continue;
        }
        UChar32 c;
        U8_NEXT_OR_FFFD(bytes, offset, length, c);
        if (c <= 0xFFFF) {
            text.push_back(static_cast<char16_t>(c));
        } else {
            text.push_back(U16_LEAD(c));
            text.push_back(U16_TRAIL(c));
        }
    }
}

// One name's sort key inside the shared buffer, with eight key bytes kept
// inline so that most comparisons never touch the buffer.
struct KeyedName {
    uint64_t head;
    uint64_t offset;
    uint32_t length;
    uint32_t index;
};

struct KeyBlock {
    std::vector<KeyedName> keyed;
    std::vector<uint8_t> bytes;
};

// Appends one name's key; a maker is used by one thread only.
class KeyMaker {
  public:
    KeyMaker(const icu::Collator& collator, const AsciiSortKeys* ascii)
        : m_collator(collator), m_ascii(ascii), m_key(512) {}

    void append(std::string_view name, std::vector<uint8_t>& bytes) {
        if (m_ascii) {
            m_ascii->append(name, bytes); // every name is covered: see allSortKeys
            return;
        }
        toUtf16(name, m_text);
        const auto textLength = static_cast<int32_t>(m_text.size());
        int32_t length = m_collator.getSortKey(m_text.data(), textLength, m_key.data(),
                                               static_cast<int32_t>(m_key.size()));
        if (length > static_cast<int32_t>(m_key.size())) {
            m_key.resize(static_cast<std::size_t>(length));
            length = m_collator.getSortKey(m_text.data(), textLength, m_key.data(), length);
        }
        bytes.insert(bytes.end(), m_key.begin(), m_key.begin() + length);
    }

  private:
    const icu::Collator& m_collator;
    const AsciiSortKeys* m_ascii;
    // Reused buffers: file names are short, allocations would dominate.
    std::vector<char16_t> m_text;
    std::vector<uint8_t> m_key;
};

// Sort keys of names [first, last); comparing two keys is one memcmp.
void sortKeys(KeyMaker maker, std::span<const std::string_view> names, std::size_t first,
              std::size_t last, KeyBlock& block) {
    block.keyed.reserve(last - first);
    block.bytes.reserve((last - first) * 32);
    for (std::size_t i = first; i < last; ++i) {
        const uint64_t offset = block.bytes.size();
        maker.append(names[i], block.bytes);
        block.keyed.push_back({0, offset, static_cast<uint32_t>(block.bytes.size() - offset),
                               static_cast<uint32_t>(i)});
    }
}

// Below this a second thread costs more than it saves.
constexpr std::size_t kParallelFrom = 16384;

bool twoThreads(std::size_t count, Cores cores) {
    return cores == Cores::All && count >= kParallelFrom && std::thread::hardware_concurrency() > 1;
}

// Keys are made on two cores where there are two, each with its own collator.
KeyBlock allSortKeys(const icu::Collator& collator, std::span<const std::string_view> names,
                     Cores cores) {
    // Names of ASCII alone, most folders' names, skip the collator altogether.
    std::optional<AsciiSortKeys> ascii;
    if (AsciiSortKeys::covers(names))
        ascii = AsciiSortKeys::derive(collator);
    const AsciiSortKeys* asciiKeys = ascii ? &*ascii : nullptr;
    KeyBlock block;
    if (!twoThreads(names.size(), cores)) {
        sortKeys(KeyMaker(collator, asciiKeys), names, 0, names.size(), block);
        return block;
    }
    const std::size_t half = names.size() / 2;
    KeyBlock second;
    const std::unique_ptr<icu::Collator> clone(collator.clone());
    std::thread helper(
        [&] { sortKeys(KeyMaker(*clone, asciiKeys), names, half, names.size(), second); });
    sortKeys(KeyMaker(collator, asciiKeys), names, 0, half, block);
    helper.join();
    const uint64_t shift = block.bytes.size();
    block.bytes.insert(block.bytes.end(), second.bytes.begin(), second.bytes.end());
    for (KeyedName& name : second.keyed)
        name.offset += shift;
    block.keyed.insert(block.keyed.end(), second.keyed.begin(), second.keyed.end());
    return block;
}

// Bytes that begin every key: dropping them leaves every comparison's outcome
// as it was, and lets the inline bytes tell names apart.
uint32_t commonPrefix(const KeyBlock& block) {
    if (block.keyed.empty())
        return 0;
    const uint8_t* first = block.bytes.data() + block.keyed.front().offset;
    uint32_t common = block.keyed.front().length;
    for (const KeyedName& name : block.keyed) {
        const uint8_t* key = block.bytes.data() + name.offset;
        uint32_t same = 0;
        const uint32_t limit = std::min(common, name.length);
        while (same < limit && key[same] == first[same])
            ++same;
        common = same;
    }
    return common;
}

uint64_t keyHead(const uint8_t* key, uint32_t length) {
    uint64_t head = 0;
    for (uint32_t i = 0; i < 8; ++i)
        head = (head << 8) | (i < length ? key[i] : 0);
    return head;
}

// Orders names by their keys in `block`: one memcmp a comparison, on both
// cores where there are two.
std::vector<std::uint32_t> orderByKeys(KeyBlock& block, std::span<const std::string_view> names,
                                       Cores cores) {
    std::vector<std::uint32_t> order(names.size());
    const uint32_t prefix = commonPrefix(block);
    for (KeyedName& name : block.keyed) {
        name.offset += prefix;
        name.length -= prefix;
        name.head = keyHead(block.bytes.data() + name.offset, name.length);
    }
    const uint8_t* bytes = block.bytes.data();
    const auto before = [&](const KeyedName& a, const KeyedName& b) {
        if (a.head != b.head)
            return a.head < b.head;
        if (a.length > 8 && b.length > 8) {
            const int order = std::memcmp(bytes + a.offset + 8, bytes + b.offset + 8,
                                          std::min(a.length, b.length) - 8);
            if (order != 0)
                return order < 0;
        }
        if (a.length != b.length)
            return a.length < b.length;
        return names[a.index] < names[b.index];
    };
    std::vector<KeyedName>& keyed = block.keyed;
    if (twoThreads(keyed.size(), cores)) {
        // Each core sorts one half; one pass merges them into the order
        // itself, with no buffer as large as the keys.
        const auto middle = keyed.begin() + static_cast<std::ptrdiff_t>(keyed.size() / 2);
        std::thread helper([&] { std::sort(middle, keyed.end(), before); });
        std::sort(keyed.begin(), middle, before);
        helper.join();
        auto first = keyed.begin();
        auto second = middle;
        for (std::uint32_t& index : order) {
            const bool fromSecond =
                second != keyed.end() && (first == middle || before(*second, *first));
            index = (fromSecond ? second++ : first++)->index;
        }
        return order;
    }
    std::sort(keyed.begin(), keyed.end(), before);
    for (std::size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].index;
    return order;
}

// Without locale data a stable order still beats no listing at all.
std::vector<std::uint32_t> byteOrder(std::span<const std::string_view> names) {
    std::vector<std::uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return names[a] < names[b]; });
    return order;
}

} // namespace

std::vector<std::uint32_t> naturalOrder(std::span<const std::string_view> names, Cores cores) {
    NaturalSortKeys keys;
    return keys.order(names, cores);
}

namespace {

// Byte by byte, a key that is the start of another first: as the sort compares keys.
int compareKeys(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    const std::size_t common = std::min(a.size(), b.size());
    const int bytes = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
    if (bytes != 0)
        return bytes;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Two names compared as the sort orders them: by the collator, through the
// quick ASCII keys where both names allow them, then by their bytes.
class NeighbourCompare {
  public:
    NeighbourCompare() : m_collator(naturalCollator()) {
        if (m_collator)
            m_ascii = AsciiSortKeys::derive(*m_collator);
    }
    // True when `name` does not come before the name given before it.
    bool follows(std::string_view name) {
        std::swap(m_last, m_next);
        m_next.name = name;
        m_next.key.clear();
        m_next.asciiKey = m_ascii && m_ascii->append(name, m_next.key);
        const int order = collated();
        return order < 0 || (order == 0 && m_last.name <= m_next.name);
    }

  private:
    struct Name {
        std::string_view name;
        bool asciiKey = false;
        std::vector<std::uint8_t> key;
    };
    int collated() {
        if (!m_collator)
            return 0;
        if (m_last.asciiKey && m_next.asciiKey)
            return compareKeys(m_last.key, m_next.key);
        toUtf16(m_last.name, m_lastText);
        toUtf16(m_next.name, m_nextText);
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult order =
            m_collator->compare(m_lastText.data(), static_cast<int32_t>(m_lastText.size()),
                                m_nextText.data(), static_cast<int32_t>(m_nextText.size()), status);
        return U_FAILURE(status) ? 0 : static_cast<int>(order);
    }

    std::unique_ptr<icu::Collator> m_collator;
    std::optional<AsciiSortKeys> m_ascii;
    Name m_last;
    Name m_next;
    std::vector<char16_t> m_lastText;
    std::vector<char16_t> m_nextText;
};

} // namespace

bool inNaturalOrder(std::size_t count, const std::function<std::string_view(std::size_t)>& nameAt) {
    NeighbourCompare compare;
    for (std::size_t i = 0; i < count; ++i) {
        const bool follows = compare.follows(nameAt(i));
        if (i > 0 && !follows)
            return false;
    }
    return true;
}

// Keys made as names come are the quick ASCII ones only: the first name they
// do not cover drops them, and order() makes every key afresh.
struct NaturalSortKeys::Made {
    std::unique_ptr<icu::Collator> collator = naturalCollator();
    std::optional<AsciiSortKeys> ascii;
    bool asciiTried = false;
    bool dropped = false;
    KeyBlock block;
};

NaturalSortKeys::NaturalSortKeys() : m_made(std::make_unique<Made>()) {}
NaturalSortKeys::~NaturalSortKeys() = default;

void NaturalSortKeys::add(std::string_view name) {
    Made& made = *m_made;
    if (made.dropped)
        return;
    if (!made.asciiTried) {
        made.asciiTried = true;
        if (made.collator)
            made.ascii = AsciiSortKeys::derive(*made.collator);
    }
    const uint64_t offset = made.block.bytes.size();
    if (!made.ascii || !made.ascii->append(name, made.block.bytes)) {
        made.dropped = true;
        made.block = {};
        return;
    }
    made.block.keyed.push_back({0, offset, static_cast<uint32_t>(made.block.bytes.size() - offset),
                                static_cast<uint32_t>(made.block.keyed.size())});
}

std::vector<std::uint32_t> NaturalSortKeys::order(std::span<const std::string_view> names,
                                                  Cores cores) {
    Made& made = *m_made;
    if (!made.collator)
        return byteOrder(names);
    if (made.dropped || made.block.keyed.size() != names.size())
        made.block = allSortKeys(*made.collator, names, cores);
    return orderByKeys(made.block, names, cores);
}

} // namespace velmorandi
