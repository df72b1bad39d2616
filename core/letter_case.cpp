#include "letter_case.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>

namespace velmorandi {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

namespace {

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

void appendLowerAscii(std::string& target, std::string_view text) {
    const std::size_t start = target.size();
    target.append(text);
    for (std::size_t i = start; i < target.size(); ++i)
        if (target[i] >= 'A' && target[i] <= 'Z')
            target[i] = static_cast<char>(target[i] - 'A' + 'a');
}

template <class Convert>
void appendConverted(std::string& target, std::string_view text, Convert&& convert) {
    if (isAscii(text) || !isValidUtf8(text)) {
        appendLowerAscii(target, text);
        return;
    }
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    convert(unicode);
    unicode.toUTF8String(target);
}

} // namespace

std::string lowerCase(std::string_view text) {
    std::string lowered;
    appendLowerCase(lowered, text);
    return lowered;
}

void appendLowerCase(std::string& target, std::string_view text) {
    appendConverted(target, text, [](icu::UnicodeString& u) { u.toLower(icu::Locale::getRoot()); });
}

std::string foldCase(std::string_view text) {
    std::string folded;
    appendConverted(folded, text, [](icu::UnicodeString& u) { u.foldCase(U_FOLD_CASE_DEFAULT); });
    return folded;
}

} // namespace velmorandi
