#include "letter_case.h"

#include "platform/text_services.h"
#include "platform/utf8.h"

#include <cstdint>
#include <cstring>

namespace velmorandi {

// Eight bytes at a time: a check made for every name of a folder.
bool isAscii(std::string_view text) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::uint64_t seen = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        seen |= word;
    }
    for (; i < text.size(); ++i)
        seen |= static_cast<unsigned char>(text[i]);
    return (seen & kHighBits) == 0;
}

namespace {

// The letters of one case among eight bytes: the 0x80 bit of each byte that
// is one, from `first` to `first` + 25. Bytes above ASCII are none.
std::uint64_t lettersIn(std::uint64_t bytes, unsigned char first) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    const std::uint64_t low = bytes & ~kHighBits;
    const std::uint64_t fromFirst = low + kOnes * (0x80 - first);
    const std::uint64_t pastLast = low + kOnes * (0x80 - first - 26);
    return (fromFirst ^ pastLast) & ~bytes & kHighBits;
}

void appendAsciiMapped(std::string& target, std::string_view text, CaseMapping mapping) {
    const std::size_t start = target.size();
    target.append(text);
    // A letter's case is its 0x20 bit: eight bytes at a time, no branch.
    // ASCII letters have no title case of their own: it is their upper case.
    const unsigned char from = mapping == CaseMapping::Lower ? 'A' : 'a';
    char* const mapped = target.data() + start;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, mapped + i, sizeof bytes);
        bytes ^= lettersIn(bytes, from) >> 2;
        std::memcpy(mapped + i, &bytes, sizeof bytes);
    }
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(mapped[i]);
        mapped[i] = static_cast<char>(c ^ (static_cast<unsigned char>(c - from) < 26 ? 0x20 : 0));
    }
}

} // namespace

void appendLowerAscii(std::string& target, std::string_view text) {
    appendAsciiMapped(target, text, CaseMapping::Lower);
}

std::string lowerCase(std::string_view text) {
    std::string lowered;
    appendLowerCase(lowered, text);
    return lowered;
}

void appendLowerCase(std::string& target, std::string_view text) {
    if (isAscii(text) || !isValidUtf8(text))
        appendLowerAscii(target, text);
    else
        platform::appendInvariantLowerCase(target, text);
}

std::string foldCase(std::string_view text) {
    std::string folded;
    if (isAscii(text) || !isValidUtf8(text))
        appendLowerAscii(folded, text);
    else
        platform::appendFoldedCase(folded, text);
    return folded;
}

void appendLocaleCase(std::string& target, std::string_view text, CaseMapping mapping) {
    if (isAscii(text) && platform::userLocaleCasesAsciiPlainly())
        appendAsciiMapped(target, text, mapping);
    else if (!isValidUtf8(text))
        target.append(text);
    else
        platform::appendUserLocaleCase(target, text, mapping);
}

} // namespace velmorandi
