#pragma once

#include <string>

namespace velmorandi {

// A failure reported by the operating system: its code and its own sentence.
struct SystemError {
    int code = 0;
    std::string reason;
};

} // namespace velmorandi
