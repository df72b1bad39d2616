#include "natural_order.h"

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
#include <string_view>

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

// All sort keys in one buffer: comparing two keys is then one memcmp.
class SortKeys {
  public:
    SortKeys(const icu::Collator& collator, const std::vector<std::string>& names) {
        m_offsets.reserve(names.size() + 1);
        m_offsets.push_back(0);
        m_bytes.reserve(names.size() * 32);
        // Reused buffers: file names are short, allocations would dominate.
        std::vector<char16_t> text;
        std::vector<uint8_t> key(512);
        for (const std::string& name : names) {
            toUtf16(name, text);
            const auto textLength = static_cast<int32_t>(text.size());
            int32_t length = collator.getSortKey(text.data(), textLength, key.data(),
                                                 static_cast<int32_t>(key.size()));
            if (length > static_cast<int32_t>(key.size())) {
                key.resize(static_cast<std::size_t>(length));
                length = collator.getSortKey(text.data(), textLength, key.data(), length);
            }
            m_bytes.insert(m_bytes.end(), key.begin(), key.begin() + length);
            m_offsets.push_back(m_bytes.size());
        }
    }

    int compare(std::size_t a, std::size_t b) const {
        const std::size_t lengthA = m_offsets[a + 1] - m_offsets[a];
        const std::size_t lengthB = m_offsets[b + 1] - m_offsets[b];
        const int order = std::memcmp(m_bytes.data() + m_offsets[a], m_bytes.data() + m_offsets[b],
                                      std::min(lengthA, lengthB));
        if (order != 0)
            return order;
        return lengthA < lengthB ? -1 : (lengthA > lengthB ? 1 : 0);
    }

  private:
    std::vector<uint8_t> m_bytes;
    std::vector<std::size_t> m_offsets;
};

} // namespace

void sortNaturally(std::vector<std::string>& names) {
    const std::unique_ptr<icu::Collator> collator = naturalCollator();
    if (!collator) {
        // Without locale data a stable order still beats no listing at all.
        std::sort(names.begin(), names.end());
        return;
    }
    const SortKeys keys(*collator, names);
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int byKey = keys.compare(a, b);
        return byKey != 0 ? byKey < 0 : names[a] < names[b];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const std::size_t index : order)
        sorted.push_back(std::move(names[index]));
    names = std::move(sorted);
}

} // namespace velmorandi
