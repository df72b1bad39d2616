#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmorandi {

// Whether encoded UTF-16 surrogates (ED A0..BF xx) count as characters. Windows
// names may hold unpaired surrogates; their bytes here are WTF-8.
enum class Surrogates { Refused, Allowed };

// Decodes the character at offset and moves past it. Bytes that are not a
// character give -1 and move past the longest start of one, at least one byte,
// so every invalid byte is stepped over exactly once.
std::int32_t nextCodePoint(std::string_view text, std::size_t& offset,
                           Surrogates surrogates = Surrogates::Refused);

bool isValidUtf8(std::string_view text);

void appendUtf8(std::string& target, std::uint32_t codePoint);

} // namespace velmorandi
