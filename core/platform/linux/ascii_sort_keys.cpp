#include "ascii_sort_keys.h"

#include <unicode/uniset.h>
#include <unicode/usetiter.h>

#include <algorithm>
#include <memory>
#include <numeric>

namespace velmorandi {
namespace {

// The collator reads a longer run of digits as more than one number.
constexpr std::size_t kLongestNumber = 254;

bool isDigit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

bool isAscii(const icu::UnicodeString& text) {
    for (int32_t i = 0; i < text.length(); ++i)
        if (text.charAt(i) >= 0x80)
            return false;
    return true;
}

// The root collation gives every ASCII character one weight of its own, with
// no contraction or expansion; only a language's tailoring can change that.
bool tailorsAscii(const icu::Collator& collator) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::UnicodeSet> tailored(collator.getTailoredSet(status));
    if (U_FAILURE(status) || !tailored)
        return true;
    if (tailored->containsSome(0, 0x7F))
        return true;
    icu::UnicodeSetIterator item(*tailored);
    while (item.nextRange())
        if (item.isString() && isAscii(item.getString()))
            return true;
    return false;
}

UCollationResult compareCharacters(const icu::Collator& collator, char16_t a, char16_t b) {
    UErrorCode status = U_ZERO_ERROR;
    return collator.compare(&a, 1, &b, 1, status);
}

bool ignored(const icu::Collator& collator, char16_t c) {
    UErrorCode status = U_ZERO_ERROR;
    const char16_t none = 0;
    return collator.compare(&c, 1, &none, 0, status) == UCOL_EQUAL;
}

} // namespace

std::optional<AsciiSortKeys> AsciiSortKeys::derive(const icu::Collator& collator) {
    if (tailorsAscii(collator))
        return std::nullopt;
    const std::unique_ptr<icu::Collator> primary(collator.clone());
    if (!primary)
        return std::nullopt;
    primary->setStrength(icu::Collator::PRIMARY);

    std::vector<char16_t> ordered;
    for (char16_t c = 1; c < 128; ++c)
        if (!ignored(collator, c))
            ordered.push_back(c);
    std::stable_sort(ordered.begin(), ordered.end(), [&](char16_t a, char16_t b) {
        return compareCharacters(collator, a, b) == UCOL_LESS;
    });

    AsciiSortKeys keys;
    std::uint8_t weight = 0;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        if (i == 0 || compareCharacters(collator, ordered[i - 1], ordered[i]) != UCOL_EQUAL) {
            // Neighbours that differ only in accent would weigh in after the
            // rest of the name, not where they stand.
            if (i > 0 && compareCharacters(*primary, ordered[i - 1], ordered[i]) != UCOL_LESS)
                return std::nullopt;
            ++weight;
        }
        keys.m_weight[ordered[i]] = weight;
    }

    // Digit runs are numbers: the ten digits must be ten weights in a row,
    // shared with nothing else, so that a run can take the place of all ten.
    const std::uint8_t zero = keys.m_weight['0'];
    for (char16_t c = 1; c < 128; ++c) {
        const bool digit = isDigit(static_cast<std::uint8_t>(c));
        const std::uint8_t w = keys.m_weight[c];
        if (digit ? w != zero + (c - '0') : (w >= zero && w <= zero + 9))
            return std::nullopt;
    }
    if (zero == 0)
        return std::nullopt;
    for (std::uint8_t& w : keys.m_weight)
        if (w > zero + 9)
            w = static_cast<std::uint8_t>(w - 9);
    keys.m_digitRun = zero;
    return keys;
}

bool AsciiSortKeys::covers(std::span<const std::string_view> names) {
    for (const std::string_view name : names) {
        std::size_t run = 0;
        for (const char c : name) {
            const auto byte = static_cast<std::uint8_t>(c);
            if (byte >= 0x80)
                return false;
            run = isDigit(byte) ? run + 1 : 0;
            if (run > kLongestNumber)
                return false;
        }
    }
    return true;
}

// A digit run is its weight, then how many digits remain once leading zeros
// are dropped, then those digits: longer numbers are larger, and equal lengths
// compare digit by digit.
bool AsciiSortKeys::append(std::string_view name, std::vector<std::uint8_t>& key) const {
    // No key is longer than twice its name and one: a run of one digit takes
    // three bytes, and only a character can follow it.
    const std::size_t start = key.size();
    key.resize(start + name.size() * 2 + 1);
    std::uint8_t* out = key.data() + start;
    const auto* in = reinterpret_cast<const std::uint8_t*>(name.data());
    const auto* const end = in + name.size();
    while (in < end) {
        const std::uint8_t c = *in;
        if (c >= 0x80)
            break;
        if (!isDigit(c)) {
            *out = m_weight[c];
            out += m_weight[c] != 0;
            ++in;
            continue;
        }
        const auto* const run = in;
        while (in < end && isDigit(*in))
            ++in;
        if (static_cast<std::size_t>(in - run) > kLongestNumber) {
            in = run;
            break;
        }
        const auto* digit = run;
        while (digit < in && *digit == '0')
            ++digit;
        *out++ = m_digitRun;
        *out++ = static_cast<std::uint8_t>(in - digit);
        while (digit < in)
            *out++ = *digit++;
    }
    const bool covered = in == end;
    key.resize(covered ? static_cast<std::size_t>(out - key.data()) : start);
    return covered;
}

} // namespace velmorandi
