#include "platform/windows/wide_text.h"

#include "platform/utf8.h"

#include <cstdint>

namespace velmorandi::platform {

std::wstring widen(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    std::size_t offset = 0;
    while (offset < text.size()) {
        const std::int32_t c = nextCodePoint(text, offset, Surrogates::Allowed);
        if (c < 0) {
            wide.push_back(L'\xFFFD');
        } else if (c < 0x10000) {
            wide.push_back(static_cast<wchar_t>(c));
        } else {
            wide.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
            wide.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return wide;
}

std::string narrow(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = static_cast<std::uint16_t>(text[i]);
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.size()) {
            const std::uint32_t next = static_cast<std::uint16_t>(text[i + 1]);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            }
        }
        appendUtf8(bytes, c);
    }
    return bytes;
}

} // namespace velmorandi::platform
