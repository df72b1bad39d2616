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
    const DWORD direction = mapping == CaseMapping::Upper ? LCMAP_UPPERCASE : LCMAP_LOWERCASE;
    appendMapped(target, text, LOCALE_NAME_USER_DEFAULT, direction | LCMAP_LINGUISTIC_CASING);
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
