#include "operations.h"

namespace velmorandi {

// Only U+0020 counts: tabs and no-break spaces are part of the name.
std::string TrimSpaces(std::string_view base, Side side) {
    if (side == Side::Left) {
        const auto first = base.find_first_not_of(' ');
        return first == std::string_view::npos ? std::string{} : std::string(base.substr(first));
    }
    const auto last = base.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string{} : std::string(base.substr(0, last + 1));
}

} // namespace velmorandi
