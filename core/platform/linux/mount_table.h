#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

// What the mount table says of the file system a file lies on.
namespace velmorandi::platform {

struct MountEntry {
    std::string type;   // "ext4", "fuse.sshfs", "fuseblk", "nfs4" ...
    std::string source; // "/dev/sda1", "me@host:/home/me", "server:/export" ...
};

// The entry of /proc/self/mountinfo for the device a file's stat gives.
std::optional<MountEntry> mountOf(dev_t device);

// The FUSE clients and kernel file systems of network drives.
bool isNetworkType(const std::string& type);

// The file system a descriptor lies on, from statfs and the mount table:
// its statfs magic number, and, where the magic alone cannot tell (FUSE),
// the type the mount table names.
struct FileSystemKind {
    unsigned long magic = 0;
    std::string type;
    bool network = false;
};
FileSystemKind fileSystemKindOf(int descriptor);

} // namespace velmorandi::platform
