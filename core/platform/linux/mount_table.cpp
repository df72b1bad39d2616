#include "platform/linux/mount_table.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

namespace velmorandi::platform {
namespace {

constexpr unsigned long kCifs = 0xFF534D42;
constexpr unsigned long kSmb2 = 0xFE534D42;
constexpr unsigned long kSmb = 0x517B;
constexpr unsigned long kNfs = 0x6969;
constexpr unsigned long kFuse = 0x65735546;

} // namespace

std::optional<MountEntry> mountOf(dev_t device) {
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
            return std::nullopt;
        std::istringstream rest(line.substr(separator + 3));
        MountEntry entry;
        rest >> entry.type >> entry.source;
        return entry;
    }
    return std::nullopt;
}

bool isNetworkType(const std::string& type) {
    for (const char* name : {"nfs", "cifs", "smb", "sshfs", "rclone", "davfs", "s3fs", "gcsfuse",
                             "smbnetfs", "9p", "ceph", "glusterfs"})
        if (type.find(name) != std::string::npos)
            return true;
    return false;
}

FileSystemKind fileSystemKindOf(int descriptor) {
    FileSystemKind kind;
    struct statfs info {};
    if (::fstatfs(descriptor, &info) != 0)
        return kind;
    kind.magic = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
    switch (kind.magic) {
    case kCifs:
    case kSmb2:
    case kSmb:
    case kNfs:
        kind.network = true;
        break;
    case kFuse: {
        struct stat status {};
        if (::fstat(descriptor, &status) == 0)
            if (const auto entry = mountOf(status.st_dev))
                kind.type = entry->type;
        kind.network = isNetworkType(kind.type);
        break;
    }
    default:
        break;
    }
    return kind;
}

} // namespace velmorandi::platform
