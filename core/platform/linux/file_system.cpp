#include "platform/file_system.h"

#include "platform/linux/error_from.h"
#include "platform/linux/mount_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/fs.h>
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

// File systems whose statfs number the kernel derives from the volume's own
// UUID (tmpfs: one made at each mount), so that it outlasts a new device number.
bool fsidFromUuid(unsigned long magic) {
    return magic == kExt || magic == kBtrfs || magic == kTmpfs || magic == kF2fs ||
           magic == kBcachefs;
}

std::string hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// The UUID udev names the block device by, where it runs.
std::string uuidOf(dev_t device) {
    std::error_code error;
    for (const auto& link : std::filesystem::directory_iterator("/dev/disk/by-uuid", error)) {
        struct stat target {};
        if (::stat(link.path().c_str(), &target) == 0 && S_ISBLK(target.st_mode) &&
            target.st_rdev == device)
            return link.path().filename().string();
    }
    return {};
}

// A loop device's volume is the image it serves.
std::string loopImageOf(dev_t device) {
    std::ifstream file("/sys/dev/block/" + std::to_string(major(device)) + ":" +
                       std::to_string(minor(device)) + "/loop/backing_file");
    std::string image;
    std::getline(file, image);
    return image;
}

std::string blockVolume(const std::string& source) {
    struct stat device {};
    if (!source.starts_with("/dev/") || ::stat(source.c_str(), &device) != 0 ||
        !S_ISBLK(device.st_mode))
        return {};
    if (const std::string uuid = uuidOf(device.st_rdev); !uuid.empty())
        return "uuid " + uuid;
    if (const std::string image = loopImageOf(device.st_rdev); !image.empty())
        return "image " + image;
    return {};
}

} // namespace

FileSystemTraits describeFileSystem(const FolderHandle& folder) {
    FileSystemTraits traits;
    const FileSystemKind kind = fileSystemKindOf(handleOf(folder));
    traits.remote = kind.network;
    switch (kind.magic) {
    case kCifs:
    case kSmb2:
    case kSmb:
    case kMsdos:
    case kExfat:
    case kNtfs:
    case kHfsPlus:
        traits.ignoresCase = true;
        break;
    case kFuse:
        traits.ignoresCase = fuseIgnoresCase(kind.type);
        // SFTP tells no count of names: sshfs says 1 for every file.
        traits.linkCounts = kind.type.find("sshfs") == std::string::npos;
        break;
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

std::string volumeOf(const FolderHandle& folder) {
    struct statfs info {};
    struct stat status {};
    if (::fstatfs(handleOf(folder), &info) != 0 || ::fstat(handleOf(folder), &status) != 0)
        return {};
    const auto magic = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
    const std::optional<MountEntry> mount = mountOf(status.st_dev);
    if (mount && (magic == kNfs || magic == kCifs || magic == kSmb2 || magic == kSmb ||
                  isNetworkType(mount->type)))
        return "share " + mount->type + " " + mount->source;
    std::uint64_t fsid = 0;
    std::memcpy(&fsid, &info.f_fsid, std::min(sizeof fsid, sizeof info.f_fsid));
    if (fsidFromUuid(magic) && fsid != 0)
        return "fsid " + hex(magic) + " " + hex(fsid);
    return mount ? blockVolume(mount->source) : std::string();
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
