#pragma once

#include <string>
#include <string_view>

namespace velmorandi {

// ".velmorandi-XXXXXXXX-" with a likely-unique hexadecimal part; a number follows.
std::string temporaryPrefix();

// A name this program parks files under during a run.
bool isTemporaryName(std::string_view name);

} // namespace velmorandi
