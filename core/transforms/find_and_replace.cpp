#include "operations.h"

namespace velmorandi {

std::string FindAndReplace(std::string_view base, std::string_view find,
                           std::string_view replacement) {
    if (find.empty())
        return std::string(base);
    // Byte matching is character matching here: UTF-8 never matches inside another character.
    std::string result;
    result.reserve(base.size());
    std::size_t from = 0;
    for (auto hit = base.find(find); hit != std::string_view::npos; hit = base.find(find, from)) {
        result.append(base, from, hit - from);
        result.append(replacement);
        from = hit + find.size();
    }
    result.append(base, from);
    return result;
}

} // namespace velmorandi
