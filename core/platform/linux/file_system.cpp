#include "platform/file_system.h"

#include "platform/linux/error_from.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <linux/fs.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace velmorandi::platform {
namespace {

int handleOf(const FolderHandle& folder) {
    return static_cast<int>(folder.native());
}

// Magic numbers of statfs(2), spelled out: not every C library names them all.
constexpr unsigned long kMsdos = 0x4d44;
constexpr unsigned long kExfat = 0x2011BAB0;
constexpr unsigned long kNtfs = 0x5346544e;
constexpr unsigned long kCifs = 0xFF534D42;
constexpr unsigned long kSmb2 = 0xFE534D42;
constexpr unsigned long kSmb = 0x517B;
constexpr unsigned long kHfsPlus = 0x482b;
constexpr unsigned long kFuse = 0x65735546;
constexpr unsigned long kExt = 0xEF53;
constexpr unsigned long kXfs = 0x58465342;
constexpr unsigned long kBtrfs = 0x9123683E;
constexpr unsigned long kTmpfs = 0x01021994;
constexpr unsigned long kF2fs = 0xF2F52010;
constexpr unsigned long kBcachefs = 0xca451a4e;
constexpr unsigned long kZfs = 0x2fc12fc1;
constexpr unsigned long kNfs = 0x6969;
constexpr unsigned long kCasefoldFlag = 0x40000000; // FS_CASEFOLD_FL

// The type a FUSE mount names in the mount table ("fuse.exfat", "fuseblk", ...).
std::string fuseMountType(dev_t device) {
    std::ifstream table("/proc/self/mountinfo");
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string id, parent, numbers;
        fields >> id >> parent >> numbers;
        if (numbers != wanted)
            continue;
        const std::size_t separator = line.find(" - ");
        if (separator == std::string::npos)
            return {};
        std::istringstream rest(line.substr(separator + 3));
        std::string type;
        rest >> type;
        return type;
    }
    return {};
}

// The FUSE clients of network drives.
bool fuseIsRemote(const std::string& type) {
    for (const char* name : {"sshfs", "rclone", "davfs", "s3fs", "gcsfuse", "smbnetfs"})
        if (type.find(name) != std::string::npos)
            return true;
    return false;
}

// fuseblk serves block devices: in practice NTFS and exFAT drivers.
bool fuseIgnoresCase(const std::string& type) {
    if (type == "fuseblk")
        return true;
    for (const char* name : {"exfat", "ntfs", "fat", "msdos"})
        if (type.find(name) != std::string::npos)
            return true;
    return false;
}

bool hasCasefoldFlag(int folder) {
    long flags = 0;
    return ::ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0 &&
           (static_cast<unsigned long>(flags) & kCasefoldFlag) != 0;
}

} // namespace

FileSystemTraits describeFileSystem(const FolderHandle& folder) {
    FileSystemTraits traits;
    struct statfs info {};
    if (::fstatfs(handleOf(folder), &info) != 0)
        return traits;
    const auto magic = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
    switch (magic) {
    case kCifs:
    case kSmb2:
    case kSmb:
        traits.remote = true;
        [[fallthrough]];
    case kMsdos:
    case kExfat:
    case kNtfs:
    case kHfsPlus:
        traits.ignoresCase = true;
        break;
    case kNfs:
        traits.remote = true;
        break;
    case kFuse: {
        struct stat status {};
        if (::fstat(handleOf(folder), &status) == 0) {
            const std::string type = fuseMountType(status.st_dev);
            traits.ignoresCase = fuseIgnoresCase(type);
            traits.remote = fuseIsRemote(type);
        }
        break;
    }
    case kExt:
    case kXfs:
    case kBtrfs:
    case kTmpfs:
    case kF2fs:
    case kBcachefs:
    case kZfs:
        traits.stableIdentities = true;
        traits.ignoresCase = hasCasefoldFlag(handleOf(folder));
        break;
    default:
        break;
    }
    return traits;
}

std::optional<SystemError> folderIdentity(const FolderHandle& folder, FileIdentity& identity) {
    struct statx status {};
    if (::statx(handleOf(folder), "", AT_EMPTY_PATH, STATX_INO | STATX_BTIME, &status) != 0)
        return errorFrom(errno);
    identity.device = makedev(status.stx_dev_major, status.stx_dev_minor);
    identity.inode = status.stx_ino;
    identity.birth = (status.stx_mask & STATX_BTIME) != 0
                         ? status.stx_btime.tv_sec * 1'000'000'000LL + status.stx_btime.tv_nsec
                         : 0;
    return std::nullopt;
}

} // namespace velmorandi::platform
