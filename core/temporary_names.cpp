#include "temporary_names.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace velmorandi {
namespace {

constexpr std::string_view kStart = ".velmorandi-";
constexpr std::size_t kHexDigits = 8;

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string temporaryPrefix() {
    // Only a likely-unique start: a plan skips every name the folder holds.
    const auto clock = std::chrono::steady_clock::now().time_since_epoch().count();
    char prefix[40];
    std::snprintf(prefix, sizeof prefix, "%s%08x-", kStart.data(), static_cast<unsigned>(clock));
    return prefix;
}

bool isTemporaryName(std::string_view name) {
    if (!name.starts_with(kStart))
        return false;
    name.remove_prefix(kStart.size());
    if (name.size() < kHexDigits + 2 || name[kHexDigits] != '-')
        return false;
    const std::string_view hex = name.substr(0, kHexDigits);
    const std::string_view number = name.substr(kHexDigits + 1);
    return std::all_of(hex.begin(), hex.end(), isHex) &&
           std::all_of(number.begin(), number.end(), isDigit);
}

} // namespace velmorandi
