#pragma once

// The file the SFTP tap counts requests into and the benchmark reads: one
// 64-bit counter per packet type, then one per known extension name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmorandi::bench {

// Extended requests (type 200) carry their name; these are the ones an SSH
// file mount sends. Anything else lands in the last slot.
inline constexpr std::array<std::string_view, 12> kSftpExtensions = {
    "posix-rename@openssh.com",
    "hardlink@openssh.com",
    "statvfs@openssh.com",
    "fstatvfs@openssh.com",
    "fsync@openssh.com",
    "lsetstat@openssh.com",
    "limits@openssh.com",
    "expand-path@openssh.com",
    "copy-data",
    "home-directory",
    "users-groups-by-id@openssh.com",
    "other extension",
};

inline constexpr std::uint8_t kSftpExtended = 200;

struct SftpCounts {
    std::array<std::uint64_t, 256> byType{};
    std::array<std::uint64_t, kSftpExtensions.size()> byExtension{};
};

inline std::size_t extensionSlot(std::string_view name) {
    for (std::size_t slot = 0; slot + 1 < kSftpExtensions.size(); ++slot)
        if (kSftpExtensions[slot] == name)
            return slot;
    return kSftpExtensions.size() - 1;
}

} // namespace velmorandi::bench
