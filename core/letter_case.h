#pragma once

#include "platform/text_services.h"
#include "platform/utf8.h"

#include <string>
#include <string_view>

namespace velmorandi {

// Text of 7-bit bytes alone, whose case can be changed without a case table.
bool isAscii(std::string_view text);

// Lower case independent of the user's locale. Bytes that are not valid UTF-8
// make the whole text fall back to lowering ASCII letters only.
std::string lowerCase(std::string_view text);
void appendLowerCase(std::string& target, std::string_view text);
// Lowers A to Z alone.
void appendLowerAscii(std::string& target, std::string_view text);

// A key under which names that differ only in letter case compare equal: full
// case folding of valid UTF-8; other bytes stay as they are, ASCII letters folded.
std::string foldCase(std::string_view text);

// Appends text mapped by the case rules of the user's locale, so that the
// Turkish dotted and dotless i come out right there. Text that is not valid
// UTF-8 is appended as it is.
void appendLocaleCase(std::string& target, std::string_view text, CaseMapping mapping);

} // namespace velmorandi
