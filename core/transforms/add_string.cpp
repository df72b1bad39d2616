#include "operations.h"

namespace velmorandi {

std::string AddString(std::string_view base, std::string_view text, Side side) {
    std::string result;
    result.reserve(base.size() + text.size());
    if (side == Side::Left)
        result.append(text).append(base);
    else
        result.append(base).append(text);
    return result;
}

} // namespace velmorandi
