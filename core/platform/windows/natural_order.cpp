#include "platform/natural_order.h"

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

std::vector<std::uint32_t> naturalOrder(std::span<const std::string_view> names, Cores) {
    std::vector<std::wstring> wide;
    wide.reserve(names.size());
    for (const std::string_view name : names)
        wide.push_back(platform::widen(name));
    std::vector<std::uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int comparison = compareWide(wide[a], wide[b]);
        // 0 is a failure (an unknown locale); the bytes still give a total order.
        if (comparison != 0 && comparison != CSTR_EQUAL)
            return comparison == CSTR_LESS_THAN;
        return names[a] < names[b];
    });
    return order;
}

bool inNaturalOrder(std::size_t count, const std::function<std::string_view(std::size_t)>& nameAt) {
    std::string_view last;
    std::wstring lastWide;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view name = nameAt(i);
        std::wstring wide = platform::widen(name);
        if (i > 0) {
            const int comparison = compareWide(lastWide, wide);
            const bool follows = comparison != 0 && comparison != CSTR_EQUAL
                                     ? comparison == CSTR_LESS_THAN
                                     : last <= name;
            if (!follows)
                return false;
        }
        last = name;
        lastWide = std::move(wide);
    }
    return true;
}

// Keys are made by the system's comparison itself: nothing to make ahead.
struct NaturalSortKeys::Made {};

NaturalSortKeys::NaturalSortKeys() = default;
NaturalSortKeys::~NaturalSortKeys() = default;

void NaturalSortKeys::add(std::string_view) {}

std::vector<std::uint32_t> NaturalSortKeys::order(std::span<const std::string_view> names,
                                                  Cores cores) {
    return naturalOrder(names, cores);
}

} // namespace velmorandi
