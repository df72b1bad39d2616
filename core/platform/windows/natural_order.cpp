#include "natural_order.h"

#include "platform/windows/wide_text.h"

#include "platform/windows/windows_api.h"

#include <algorithm>
#include <numeric>

namespace velmorandi {
namespace {

// The order of the system's own file windows: digits by value, case ignored.
constexpr DWORD kNaturalOrder = NORM_IGNORECASE | SORT_DIGITSASNUMBERS;

int compareWide(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringEx(LOCALE_NAME_USER_DEFAULT, kNaturalOrder, a.data(),
                             static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                             nullptr, nullptr, 0);
}

} // namespace

void sortNaturally(std::vector<std::string>& names) {
    std::vector<std::wstring> wide;
    wide.reserve(names.size());
    for (const std::string& name : names)
        wide.push_back(platform::widen(name));
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int comparison = compareWide(wide[a], wide[b]);
        // 0 is a failure (an unknown locale); the bytes still give a total order.
        if (comparison != 0 && comparison != CSTR_EQUAL)
            return comparison == CSTR_LESS_THAN;
        return names[a] < names[b];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const std::size_t index : order)
        sorted.push_back(std::move(names[index]));
    names = std::move(sorted);
}

} // namespace velmorandi
