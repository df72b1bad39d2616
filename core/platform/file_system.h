#pragma once

#include "platform/folder_access.h"
#include "platform/system_error.h"

#include <cstdint>
#include <optional>
#include <string>

// What the program needs to know of the file system a folder lies on.
namespace velmorandi::platform {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // When the folder or file was made, in nanoseconds since 1970; 0 where the
    // file system does not say. Unlike a number, it is not given out again.
    std::int64_t birth = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct FileSystemTraits {
    // Names that differ only in letter case are one name there.
    bool ignoresCase = false;
    // File numbers survive renames and remounts, and two names can be swapped atomically.
    bool stableIdentities = false;
    // Names are looked up over a network, through a client that answers from
    // what the last listing told it for a while only.
    bool remote = false;
    // A file's count of names is the drive's own; sshfs says 1 for every file.
    bool linkCounts = true;
};

FileSystemTraits describeFileSystem(const FolderHandle& folder);

// The volume the folder lies on, told so that it outlasts a remount, a new
// device number or another mount point: a file system's UUID or serial
// number, a loop device's image, a network share's server and path. Empty
// where the system does not tell.
std::string volumeOf(const FolderHandle& folder);

[[nodiscard]] std::optional<SystemError> folderIdentity(const FolderHandle& folder,
                                                        FileIdentity& identity);

} // namespace velmorandi::platform
