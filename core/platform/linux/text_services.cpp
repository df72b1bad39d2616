#include "platform/text_services.h"

#include <unicode/locid.h>
#include <unicode/numberformatter.h>
#include <unicode/stringoptions.h>
#include <unicode/ucasemap.h>
#include <unicode/uchar.h>
#include <unicode/uloc.h>
#include <unicode/unistr.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace velmorandi::platform {
namespace {

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

// Title casing keeps a break iterator in its map, so each thread has its own;
// the whole text is one word, whose first letter alone is mapped.
UCaseMap* titleCaseMap() {
    thread_local const std::unique_ptr<UCaseMap, CaseMapCloser> map = [] {
        UErrorCode status = U_ZERO_ERROR;
        return std::unique_ptr<UCaseMap, CaseMapCloser>(
            ucasemap_open(nullptr, U_TITLECASE_WHOLE_STRING | U_TITLECASE_NO_LOWERCASE, &status));
    }();
    return map.get();
}

int32_t mapCase(CaseMapping mapping, char* target, int32_t capacity, std::string_view text,
                UErrorCode* status) {
    const auto length = static_cast<int32_t>(text.size());
    switch (mapping) {
    case CaseMapping::Upper:
        return ucasemap_utf8ToUpper(defaultCaseMap(), target, capacity, text.data(), length,
                                    status);
    case CaseMapping::Lower:
        return ucasemap_utf8ToLower(defaultCaseMap(), target, capacity, text.data(), length,
                                    status);
    case CaseMapping::Title:
        return ucasemap_utf8ToTitle(titleCaseMap(), target, capacity, text.data(), length, status);
    }
    *status = U_ILLEGAL_ARGUMENT_ERROR;
    return 0;
}

} // namespace

void appendInvariantLowerCase(std::string& target, std::string_view text) {
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    unicode.toLower(icu::Locale::getRoot());
    unicode.toUTF8String(target);
}

void appendFoldedCase(std::string& target, std::string_view text) {
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    unicode.foldCase(U_FOLD_CASE_DEFAULT);
    unicode.toUTF8String(target);
}

void appendUserLocaleCase(std::string& target, std::string_view text, CaseMapping mapping) {
    const auto offset = target.size();
    // Case mapping can grow text (ß to SS); retry once with the size ICU asks for.
    int32_t capacity = static_cast<int32_t>(text.size()) * 3 + 8;
    for (int attempt = 0; attempt < 2; ++attempt) {
        target.resize(offset + static_cast<std::size_t>(capacity));
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = mapCase(mapping, target.data() + offset, capacity, text, &status);
        if (U_SUCCESS(status)) {
            target.resize(offset + static_cast<std::size_t>(length));
            return;
        }
        if (status != U_BUFFER_OVERFLOW_ERROR)
            break;
        capacity = length;
    }
    target.resize(offset);
    target.append(text);
}

bool userLocaleCasesAsciiPlainly() {
    static const bool plain = [] {
        char language[ULOC_LANG_CAPACITY] = {};
        UErrorCode status = U_ZERO_ERROR;
        uloc_getLanguage(uloc_getDefault(), language, sizeof language, &status);
        return std::strcmp(language, "tr") != 0 && std::strcmp(language, "az") != 0;
    }();
    return plain;
}

// A localized formatter is immutable, so the run's thread may share it.
std::string formatCount(std::size_t count) {
    static const icu::number::LocalizedNumberFormatter formatter =
        icu::number::NumberFormatter::withLocale(icu::Locale::getDefault());
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text =
        formatter.formatInt(static_cast<std::int64_t>(count), status).toString(status);
    if (U_FAILURE(status))
        return std::to_string(count);
    std::string bytes;
    text.toUTF8String(bytes);
    return bytes;
}

} // namespace velmorandi::platform
