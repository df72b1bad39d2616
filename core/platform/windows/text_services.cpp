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

} // namespace velmorandi::platform
