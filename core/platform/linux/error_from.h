#pragma once

#include "platform/system_error.h"

#include <cstring>
#include <locale.h>
#include <string.h>

namespace velmorandi::platform {

// The system's error code with its own sentence, in English: the message
// around it is worded apart, in one language.
inline SystemError errorFrom(int code) {
    static const locale_t english = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    return SystemError{code,
                       english != locale_t{} ? ::strerror_l(code, english) : std::strerror(code)};
}

} // namespace velmorandi::platform
