#include "operations.h"

#include "letter_case.h"

#include <unicode/ucasemap.h>
#include <unicode/uloc.h>
#include <unicode/utf8.h>

#include <cstring>
#include <memory>

namespace velmorandi {

namespace {

enum class Mapping { Upper, Lower };

struct CaseMapCloser {
    void operator()(UCaseMap* map) const { ucasemap_close(map); }
};

// The default locale's case rules; opened once, as opening is costly.
const UCaseMap* defaultCaseMap() {
    static const std::unique_ptr<UCaseMap, CaseMapCloser> map = [] {
        UErrorCode status = U_ZERO_ERROR;
        return std::unique_ptr<UCaseMap, CaseMapCloser>(ucasemap_open(nullptr, 0, &status));
    }();
    return map.get();
}

// Turkish and Azeri map i and I to dotted and dotless forms, so ASCII needs ICU there.
bool asciiFollowsPlainRules() {
    static const bool plain = [] {
        char language[ULOC_LANG_CAPACITY] = {};
        UErrorCode status = U_ZERO_ERROR;
        uloc_getLanguage(uloc_getDefault(), language, sizeof language, &status);
        return std::strcmp(language, "tr") != 0 && std::strcmp(language, "az") != 0;
    }();
    return plain;
}

void appendAsciiMapped(std::string& out, std::string_view run, Mapping mapping) {
    for (char c : run) {
        if (mapping == Mapping::Upper && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (mapping == Mapping::Lower && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        out.push_back(c);
    }
}

void appendIcuMapped(std::string& out, std::string_view run, Mapping mapping) {
    const auto convert = mapping == Mapping::Upper ? ucasemap_utf8ToUpper : ucasemap_utf8ToLower;
    const auto offset = out.size();
    // Case mapping can grow text (ß to SS); retry once with the size ICU asks for.
    int32_t capacity = static_cast<int32_t>(run.size()) * 3 + 8;
    for (int attempt = 0; attempt < 2; ++attempt) {
        out.resize(offset + static_cast<std::size_t>(capacity));
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = convert(defaultCaseMap(), out.data() + offset, capacity, run.data(),
                                       static_cast<int32_t>(run.size()), &status);
        if (U_SUCCESS(status)) {
            out.resize(offset + static_cast<std::size_t>(length));
            return;
        }
        if (status != U_BUFFER_OVERFLOW_ERROR)
            break;
        capacity = length;
    }
    out.resize(offset);
    out.append(run); // a text ICU cannot map stays as it was
}

void appendMapped(std::string& out, std::string_view run, Mapping mapping) {
    if (run.empty())
        return;
    if (asciiFollowsPlainRules() && isAscii(run))
        appendAsciiMapped(out, run, mapping);
    else
        appendIcuMapped(out, run, mapping);
}

bool isWordSeparator(UChar32 c) {
    return c == 0x20 || c == 0x00 || (c >= 0x09 && c <= 0x0D);
}

// Walks the characters, asking `choose` which mapping each takes, and maps
// maximal stretches of one mapping at a time. Invalid bytes are copied as they
// are and reach `choose` as a negative code point.
template <class Choose> std::string convertByCharacter(std::string_view text, Choose&& choose) {
    std::string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t stretchStart = 0;
    Mapping stretchMapping = Mapping::Lower;
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        const Mapping mapping = choose(c);
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

} // namespace

std::string ChangeCase(std::string_view base, CaseMode mode) {
    switch (mode) {
    case CaseMode::Upper:
        return convertByCharacter(base, [](UChar32) { return Mapping::Upper; });
    case CaseMode::Lower:
        return convertByCharacter(base, [](UChar32) { return Mapping::Lower; });
    case CaseMode::Title: {
        bool wordStart = true;
        return convertByCharacter(base, [&](UChar32 c) {
            const auto mapping = wordStart ? Mapping::Upper : Mapping::Lower;
            wordStart = isWordSeparator(c);
            return mapping;
        });
    }
    case CaseMode::Sentence: {
        bool first = true;
        return convertByCharacter(base, [&](UChar32) {
            const auto mapping = first ? Mapping::Upper : Mapping::Lower;
            first = false;
            return mapping;
        });
    }
    }
    return std::string(base);
}

} // namespace velmorandi
