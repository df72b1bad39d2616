#include "letter_case.h"

#include "platform/text_services.h"
#include "platform/utf8.h"

#include <algorithm>

namespace velmorandi {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

namespace {

void appendAsciiMapped(std::string& target, std::string_view text, CaseMapping mapping) {
    const std::size_t start = target.size();
    target.append(text);
    const char from = mapping == CaseMapping::Upper ? 'a' : 'A';
    const char to = mapping == CaseMapping::Upper ? 'A' : 'a';
    for (std::size_t i = start; i < target.size(); ++i)
        if (target[i] >= from && target[i] <= from + 25)
            target[i] = static_cast<char>(target[i] - from + to);
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
