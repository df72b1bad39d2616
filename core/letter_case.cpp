#include "letter_case.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>

namespace velmorandi {
namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t offset = 0;
    while (offset < length) {
        UChar32 c;
        U8_NEXT(bytes, offset, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

std::string lowerAscii(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lowered;
}

template <class Convert> std::string convertUnicode(std::string_view text, Convert&& convert) {
    if (isAscii(text) || !isValidUtf8(text))
        return lowerAscii(text);
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    convert(unicode);
    std::string result;
    unicode.toUTF8String(result);
    return result;
}

} // namespace

std::string lowerCase(std::string_view text) {
    return convertUnicode(text, [](icu::UnicodeString& u) { u.toLower(icu::Locale::getRoot()); });
}

bool differOnlyInCase(std::string_view a, std::string_view b) {
    if (a == b)
        return false;
    const auto fold = [](icu::UnicodeString& u) { u.foldCase(U_FOLD_CASE_DEFAULT); };
    return convertUnicode(a, fold) == convertUnicode(b, fold);
}

} // namespace velmorandi
