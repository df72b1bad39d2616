#pragma once

#include <string>
#include <string_view>

// Names cross the Win32 boundary as UTF-16. NTFS also holds names with unpaired
// surrogates, which no UTF-8 can say; they travel as WTF-8 (the surrogate
// encoded like any other code point), so every name comes back exactly.
namespace velmorandi::platform {

// WTF-8 to UTF-16; bytes that are no character become U+FFFD.
std::wstring widen(std::string_view text);

// UTF-16 to WTF-8, unpaired surrogates included.
std::string narrow(std::wstring_view text);

} // namespace velmorandi::platform
