#include "operations.h"

namespace velmorandi {

std::string AddString(std::string_view base, std::string_view text, Side side) {
    std::string result;
    AddString(base, text, side, result);
    return result;
}

void AddString(std::string_view base, std::string_view text, Side side, std::string& result) {
    result.clear();
    if (side == Side::Left)
        result.append(text).append(base);
    else
        result.append(base).append(text);
}

} // namespace velmorandi
