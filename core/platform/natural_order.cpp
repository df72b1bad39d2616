#include "platform/natural_order.h"

namespace velmorandi {

void sortNaturally(std::vector<std::string>& names) {
    const std::vector<std::string_view> views(names.begin(), names.end());
    const std::vector<std::uint32_t> order = naturalOrder(views);
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const std::uint32_t index : order)
        sorted.push_back(std::move(names[index]));
    names = std::move(sorted);
}

} // namespace velmorandi
