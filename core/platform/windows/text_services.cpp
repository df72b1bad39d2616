#include "platform/text_services.h"

#include "platform/windows/wide_text.h"

#include "platform/windows/windows_api.h"

namespace velmorandi::platform {
namespace {

// LCMapStringEx in the given locale; text it cannot map comes back unchanged.
void appendMapped(std::string& target, std::string_view text, const wchar_t* locale, DWORD flags) {
    const std::wstring wide = widen(text);
    const int size = static_cast<int>(wide.size());
    const int length =
        ::LCMapStringEx(locale, flags, wide.data(), size, nullptr, 0, nullptr, nullptr, 0);
    if (length <= 0) {
        target.append(text);
        return;
    }
    std::wstring mapped(static_cast<std::size_t>(length), L'\0');
    if (::LCMapStringEx(locale, flags, wide.data(), size, mapped.data(), length, nullptr, nullptr,
                        0) != length) {
        target.append(text);
        return;
    }
    target += narrow(mapped);
}

// Title case is taken as the upper case, but for the digraph letters, whose
// title case is the code point after their upper case: Ǆ U+01C4 to ǅ U+01C5,
// Ǉ to ǈ, Ǌ to ǋ, Ǳ U+01F1 to ǲ; all four are 0xC7 and one more byte in UTF-8.
void upperToTitleDigraphs(std::string& text, std::size_t from) {
    for (std::size_t i = from; i + 1 < text.size(); ++i) {
        if (text[i] != '\xC7')
            continue;
        const char second = text[i + 1];
        if (second == '\x84' || second == '\x87' || second == '\x8A' || second == '\xB1')
            text[i + 1] = static_cast<char>(second + 1);
    }
}

// LOCALE_SGROUPING ("3;0", "3;2;0", "3") as NUMBERFMTW wants it (3, 32, 30):
// a final 0 repeats the group before it, its absence means no repetition.
UINT groupingOf(std::wstring_view grouping) {
    UINT value = 0;
    bool repeats = false;
    for (std::size_t i = 0; i < grouping.size(); ++i) {
        if (grouping[i] < L'0' || grouping[i] > L'9')
            continue;
        if (grouping[i] == L'0' && i + 1 == grouping.size()) {
            repeats = true;
            break;
        }
        value = value * 10 + static_cast<UINT>(grouping[i] - L'0');
    }
    return repeats ? value : value * 10;
}

std::wstring localeText(LCTYPE type, const wchar_t* fallback) {
    wchar_t text[16] = {};
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 16) == 0)
        return fallback;
    return text;
}

} // namespace

void appendInvariantLowerCase(std::string& target, std::string_view text) {
    appendMapped(target, text, LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE);
}

// The file system's own rule: its upper-case table, the same in every locale.
void appendFoldedCase(std::string& target, std::string_view text) {
    appendMapped(target, text, LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE);
}

void appendUserLocaleCase(std::string& target, std::string_view text, CaseMapping mapping) {
    const DWORD direction = mapping == CaseMapping::Lower ? LCMAP_LOWERCASE : LCMAP_UPPERCASE;
    const std::size_t start = target.size();
    appendMapped(target, text, LOCALE_NAME_USER_DEFAULT, direction | LCMAP_LINGUISTIC_CASING);
    if (mapping == CaseMapping::Title)
        upperToTitleDigraphs(target, start);
}

bool userLocaleCasesAsciiPlainly() {
    static const bool plain = [] {
        wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
        if (::GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH) == 0)
            return true;
        const std::wstring_view name(locale);
        const std::wstring_view language = name.substr(0, name.find(L'-'));
        return language != L"tr" && language != L"az";
    }();
    return plain;
}

std::string formatCount(std::size_t count) {
    const std::wstring digits = std::to_wstring(count);
    std::wstring decimal = localeText(LOCALE_SDECIMAL, L".");
    std::wstring thousand = localeText(LOCALE_STHOUSAND, L",");
    NUMBERFMTW format{};
    format.NumDigits = 0;
    format.Grouping = groupingOf(localeText(LOCALE_SGROUPING, L"3;0"));
    format.lpDecimalSep = decimal.data();
    format.lpThousandSep = thousand.data();
    format.NegativeOrder = 1;
    const int length =
        ::GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), &format, nullptr, 0);
    if (length <= 0)
        return std::to_string(count);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (::GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), &format, text.data(),
                            length) != length)
        return std::to_string(count);
    text.resize(static_cast<std::size_t>(length) - 1); // without the closing null
    return narrow(text);
}

} // namespace velmorandi::platform
