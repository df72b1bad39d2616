#include "platform/run_platform.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

#include <algorithm>

namespace velmorandi::platform {
namespace {

// One WriteFile call takes at most a DWORD of bytes.
std::optional<SystemError> writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return errorFrom(::GetLastError());
        bytes.remove_prefix(written);
    }
    return std::nullopt;
}

std::optional<SystemError> writePieces(HANDLE file, const PieceSource& pieces) {
    for (std::string_view piece = pieces(); !piece.empty(); piece = pieces())
        if (auto error = writeAll(file, piece))
            return error;
    return std::nullopt;
}

std::optional<SystemError> makeFolder(const std::wstring& path) {
    if (::CreateDirectoryW(path.c_str(), nullptr))
        return std::nullopt;
    const DWORD code = ::GetLastError();
    if (code != ERROR_ALREADY_EXISTS)
        return errorFrom(code);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return errorFrom(ERROR_DIRECTORY);
    return std::nullopt;
}

} // namespace

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
    identity.device = information.dwVolumeSerialNumber;
    identity.inode =
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return std::nullopt;
}

// Never planned here, as describeFileSystem offers no exchange.
std::optional<SystemError> exchangeNames(const FolderHandle&, const std::string&,
                                         const std::string&) {
    return errorFrom(ERROR_NOT_SUPPORTED);
}

// The check and the removal go through one handle, so a file that takes the
// name in between is never the one removed.
void removeEmptyFile(const FolderHandle& folder, const std::string& name) {
    const FileHandle file(
        ::CreateFileW(joinWide(folder.path(), name).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &information))
        return;
    const DWORD notRegular = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if ((information.dwFileAttributes & notRegular) != 0 || information.nFileSizeHigh != 0 ||
        information.nFileSizeLow != 0)
        return;
    FILE_DISPOSITION_INFO disposition{TRUE};
    ::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition);
}

// The user's local application data is private to the user already.
std::optional<SystemError> stateFolder(std::string& path) {
    const std::optional<std::string> base = environmentVariable("LOCALAPPDATA");
    if (!base || base->empty()) {
        path = "%LOCALAPPDATA%\\Velmorandi"; // what the message names
        return SystemError{ERROR_ENVVAR_NOT_FOUND,
                           "the LOCALAPPDATA environment variable is not set"};
    }
    if (auto error = makeFolder(widen(*base)))
        return error;
    path = *base;
    if (path.back() != '\\' && path.back() != '/')
        path.push_back('\\');
    path += "Velmorandi";
    return makeFolder(widen(path));
}

// NTFS logs the new entry with the file, so flushing the file makes both last;
// the folder is flushed too for the file systems that do not log.
std::optional<SystemError> createDurably(const std::string& folder, const std::string& name,
                                         const PieceSource& pieces) {
    const std::wstring path = joinWide(folder, name);
    std::optional<SystemError> error;
    {
        const FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return errorFrom(::GetLastError());
        error = writePieces(file.get(), pieces);
        if (!error && !::FlushFileBuffers(file.get()))
            error = errorFrom(::GetLastError());
    }
    if (!error) {
        FolderHandle parent;
        error = parent.open(folder);
        if (!error)
            error = parent.sync();
    }
    if (error)
        ::DeleteFileW(path.c_str());
    return error;
}

std::optional<SystemError> appendDurably(const std::string& path, const PieceSource& pieces) {
    const FileHandle file(::CreateFileW(widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return errorFrom(::GetLastError());
    if (auto error = writePieces(file.get(), pieces))
        return error;
    if (!::FlushFileBuffers(file.get()))
        return errorFrom(::GetLastError());
    return std::nullopt;
}

} // namespace velmorandi::platform
