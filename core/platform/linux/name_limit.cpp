#include "platform/name_limit.h"

#include <algorithm>
#include <limits>
#include <unistd.h>

#if defined(__linux__)
#include <sys/vfs.h>
#endif

namespace velmorandi::platform {
namespace {

constexpr std::size_t kUtf16NameMax = 255;

// File systems that store names in UTF-16. Linux reports their limit as bytes
// times the longest character of any charset, so it cannot be used as it is.
bool storesUtf16Names(const std::string& folder) {
#if defined(__linux__)
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x4d44UL:     // FAT, long names or not
    case 0x2011BAB0UL: // exFAT
    case 0x5346544eUL: // NTFS, both kernel drivers
    case 0x482bUL:     // HFS+
        return true;
    default:
        return false;
    }
#else
    (void)folder;
    return false;
#endif
}

} // namespace

NameLimit fileNameLimit(const std::string& folder) {
    // -1: no limit, or none can be told; the rename itself then refuses what is too long.
    const long reported = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t limit =
        reported < 0 ? std::numeric_limits<std::size_t>::max() : static_cast<std::size_t>(reported);
    if (storesUtf16Names(folder))
        return {std::min(limit, kUtf16NameMax), NameUnit::Utf16};
    return {limit, NameUnit::Bytes};
}

} // namespace velmorandi::platform
