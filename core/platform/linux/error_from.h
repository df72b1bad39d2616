#pragma once

#include "platform/system_error.h"

#include <cstring>

namespace velmorandi::platform {

// The system's error code with its own sentence.
inline SystemError errorFrom(int code) {
    return SystemError{code, std::strerror(code)};
}

} // namespace velmorandi::platform
