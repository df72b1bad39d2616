#include "operations.h"

#include "letter_case.h"
#include "platform/text_services.h"
#include "platform/utf8.h"

#include <cstdint>

namespace velmorandi {

namespace {

void appendMapped(std::string& out, std::string_view run, CaseMapping mapping) {
    if (!run.empty())
        appendLocaleCase(out, run, mapping);
}

bool isWordSeparator(std::int32_t c) {
    return c == 0x20 || c == 0x00 || (c >= 0x09 && c <= 0x0D);
}

// Walks the characters, asking `choose` which mapping each takes, and maps
// maximal stretches of one mapping at a time. Invalid bytes are copied as they
// are and reach `choose` as a negative code point.
template <class Choose> std::string convertByCharacter(std::string_view text, Choose&& choose) {
    std::string out;
    out.reserve(text.size());
    std::size_t stretchStart = 0;
    CaseMapping stretchMapping = CaseMapping::Lower;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        const std::int32_t c = nextCodePoint(text, i);
        const CaseMapping mapping = choose(c);
        if (c < 0) {
            appendMapped(out, text.substr(stretchStart, start - stretchStart), stretchMapping);
            out.append(text.substr(start, i - start));
            stretchStart = i;
            continue;
        }
        if (mapping != stretchMapping && start > stretchStart) {
            appendMapped(out, text.substr(stretchStart, start - stretchStart), stretchMapping);
            stretchStart = start;
        }
        stretchMapping = mapping;
    }
    appendMapped(out, text.substr(stretchStart), stretchMapping);
    return out;
}

char asciiMapped(char c, CaseMapping mapping) {
    if (mapping == CaseMapping::Upper && c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    if (mapping == CaseMapping::Lower && c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    return c;
}

// Most names are plain ASCII: where the locale maps ASCII plainly they need no
// walk by character nor a case table, and come out as the walk would give them.
std::string changeAsciiCase(std::string_view base, CaseMode mode) {
    std::string out(base);
    bool wordStart = true;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const bool upper = mode == CaseMode::Upper || (mode == CaseMode::Title && wordStart) ||
                           (mode == CaseMode::Sentence && i == 0);
        out[i] = asciiMapped(out[i], upper ? CaseMapping::Upper : CaseMapping::Lower);
        wordStart = isWordSeparator(static_cast<unsigned char>(out[i]));
    }
    return out;
}

} // namespace

std::string ChangeCase(std::string_view base, CaseMode mode) {
    if (isAscii(base) && platform::userLocaleCasesAsciiPlainly())
        return changeAsciiCase(base, mode);
    switch (mode) {
    case CaseMode::Upper:
        return convertByCharacter(base, [](std::int32_t) { return CaseMapping::Upper; });
    case CaseMode::Lower:
        return convertByCharacter(base, [](std::int32_t) { return CaseMapping::Lower; });
    // A word's first letter takes its title case (ǅ, not Ǆ), one letter at a
    // time: separators, which have no case, go with the lower-case stretches.
    case CaseMode::Title: {
        bool wordStart = true;
        return convertByCharacter(base, [&](std::int32_t c) {
            const bool separator = isWordSeparator(c);
            const auto mapping = wordStart && !separator ? CaseMapping::Title : CaseMapping::Lower;
            wordStart = separator;
            return mapping;
        });
    }
    case CaseMode::Sentence: {
        bool first = true;
        return convertByCharacter(base, [&](std::int32_t) {
            const auto mapping = first ? CaseMapping::Title : CaseMapping::Lower;
            first = false;
            return mapping;
        });
    }
    }
    return std::string(base);
}

} // namespace velmorandi
