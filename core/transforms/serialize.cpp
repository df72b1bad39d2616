#include "operations.h"

namespace velmorandi {

std::string Serialize(std::string_view base, std::size_t rowNumber, std::size_t rowCount,
                      Side side) {
    const auto width = std::to_string(rowCount).size();
    auto number = std::to_string(rowNumber);
    if (number.size() < width)
        number.insert(0, width - number.size(), '0');
    return AddString(base, number, side);
}

} // namespace velmorandi
