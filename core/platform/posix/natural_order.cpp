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

// One name's sort key inside the shared buffer. The first eight key bytes are
// kept inline, so most comparisons never touch the buffer.
struct KeyedName {
    uint64_t head;
    uint32_t offset;
    uint32_t length;
    std::size_t index;
};

uint64_t keyHead(const uint8_t* key, int32_t length) {
    uint64_t head = 0;
    for (int32_t i = 0; i < 8; ++i)
        head = (head << 8) | (i < length ? key[i] : 0);
    return head;
}

// Sort keys of all names in one buffer; comparing two keys is one memcmp.
std::vector<KeyedName> sortKeys(const icu::Collator& collator,
                                const std::vector<std::string>& names,
                                std::vector<uint8_t>& bytes) {
    std::vector<KeyedName> keyed;
    keyed.reserve(names.size());
    bytes.reserve(names.size() * 32);
    // Reused buffers: file names are short, allocations would dominate.
    std::vector<char16_t> text;
    std::vector<uint8_t> key(512);
    for (std::size_t i = 0; i < names.size(); ++i) {
        toUtf16(names[i], text);
        const auto textLength = static_cast<int32_t>(text.size());
        int32_t length = collator.getSortKey(text.data(), textLength, key.data(),
                                             static_cast<int32_t>(key.size()));
        if (length > static_cast<int32_t>(key.size())) {
            key.resize(static_cast<std::size_t>(length));
            length = collator.getSortKey(text.data(), textLength, key.data(), length);
        }
        keyed.push_back({keyHead(key.data(), length), static_cast<uint32_t>(bytes.size()),
                         static_cast<uint32_t>(length), i});
        bytes.insert(bytes.end(), key.begin(), key.begin() + length);
    }
    return keyed;
}

} // namespace

void sortNaturally(std::vector<std::string>& names) {
    const std::unique_ptr<icu::Collator> collator = naturalCollator();
    if (!collator) {
        // Without locale data a stable order still beats no listing at all.
        std::sort(names.begin(), names.end());
        return;
    }
    std::vector<uint8_t> bytes;
    std::vector<KeyedName> keyed = sortKeys(*collator, names, bytes);
    std::sort(keyed.begin(), keyed.end(), [&](const KeyedName& a, const KeyedName& b) {
        if (a.head != b.head)
            return a.head < b.head;
        const int order = std::memcmp(bytes.data() + a.offset, bytes.data() + b.offset,
                                      std::min(a.length, b.length));
        if (order != 0 || a.length != b.length)
            return order != 0 ? order < 0 : a.length < b.length;
        return names[a.index] < names[b.index];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const KeyedName& name : keyed)
        sorted.push_back(std::move(names[name.index]));
    names = std::move(sorted);
}

} // namespace velmorandi
