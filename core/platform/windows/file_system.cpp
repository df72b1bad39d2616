#include "platform/file_system.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

#include <cstdio>

namespace velmorandi::platform {
// NTFS, FAT, exFAT and SMB shares all ignore letter case as Windows uses them,
// and Windows has no atomic exchange: cycles go through temporary names.
FileSystemTraits describeFileSystem(const FolderHandle&) {
    FileSystemTraits traits;
    traits.ignoresCase = true;
    traits.stableIdentities = false;
    return traits;
}

std::optional<SystemError> folderIdentity(const FolderHandle& folder, FileIdentity& identity) {
    // FILE_FLAG_BACKUP_SEMANTICS is what lets CreateFileW open a folder.
    const FileHandle handle(::CreateFileW(widen(folder.path()).c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                          nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &information))
        return errorFrom(::GetLastError());
    // No birth: where Windows runs on another system (Wine), a folder's creation
    // time is its change time, which moves with every rename in it. The files'
    // own creation times still tell a copy of the folder.
    identity.birth = 0;
    identity.device = information.dwVolumeSerialNumber;
    identity.inode =
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return std::nullopt;
}

std::string volumeOf(const FolderHandle& folder) {
    FileIdentity identity;
    if (folderIdentity(folder, identity) || identity.device == 0)
        return {};
    char serial[9];
    std::snprintf(serial, sizeof serial, "%08lx", static_cast<unsigned long>(identity.device));
    return std::string("serial ") + serial;
}

} // namespace velmorandi::platform
