#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The letter case services of the operating system, one implementation per
// platform (ICU on Linux, the system's own on Windows). Every text given here
// is valid UTF-8; the callers deal with bytes that are not.
namespace velmorandi {
// Title: a word's first letter, which for a few letters is neither upper nor
// lower case (the digraph letter ǆ becomes ǅ, not Ǆ).
enum class CaseMapping { Upper, Lower, Title };
} // namespace velmorandi

namespace velmorandi::platform {

// Lower case by rules that are the same in every locale.
void appendInvariantLowerCase(std::string& target, std::string_view text);

// Case folded away, for telling whether two names differ in letter case only.
void appendFoldedCase(std::string& target, std::string_view text);

// Upper, lower or title case by the rules of the user's locale; text the
// system cannot map is appended as it is. Title case is asked for one
// character at a time.
void appendUserLocaleCase(std::string& target, std::string_view text, CaseMapping mapping);

// False where the user's locale maps ASCII letters otherwise than A-Z to a-z
// (Turkish and Azeri i).
bool userLocaleCasesAsciiPlainly();

// A count as the user's locale writes it: 33,664 in English, 33.664 in German.
std::string formatCount(std::size_t count);

} // namespace velmorandi::platform
