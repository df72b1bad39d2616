#pragma once

#include "platform/folder_access.h"
#include "platform/system_error.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// What a rename run needs of the operating system beyond reading a folder and
// renaming in it: swaps, the file system's nature, and durable journal files.
namespace velmorandi::platform {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct FileSystemTraits {
    // Names that differ only in letter case are one name there.
    bool ignoresCase = false;
    // File numbers survive renames and remounts, and two names can be swapped atomically.
    bool stableIdentities = false;
};

FileSystemTraits describeFileSystem(const FolderHandle& folder);

std::optional<SystemError> folderIdentity(const FolderHandle& folder, FileIdentity& identity);

// Swaps two names of the folder in one step; neither file is ever without a name.
std::optional<SystemError> exchangeNames(const FolderHandle& folder, const std::string& a,
                                         const std::string& b);

// Removes the entry only if it is an empty regular file.
void removeEmptyFile(const FolderHandle& folder, const std::string& name);

// The program's own folder for state, created private to the user when missing.
std::optional<SystemError> stateFolder(std::string& path);

// The bytes of a file a piece at a time; an empty piece ends them. A large
// file need never be whole in memory.
using PieceSource = std::function<std::string_view()>;

// Creates `name` in `folder` (never replacing a file), writes the bytes and
// makes both the file and its entry in the folder survive a crash.
std::optional<SystemError> createDurably(const std::string& folder, const std::string& name,
                                         const PieceSource& pieces);

// Adds the bytes to the end of an existing file and makes them survive a crash.
std::optional<SystemError> appendDurably(const std::string& path, const PieceSource& pieces);
inline std::optional<SystemError> appendDurably(const std::string& path, std::string_view bytes) {
    bool given = false;
    return appendDurably(path, [&]() -> std::string_view {
        return std::exchange(given, true) ? std::string_view() : bytes;
    });
}

} // namespace velmorandi::platform
