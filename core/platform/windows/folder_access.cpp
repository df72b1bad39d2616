#include "platform/folder_access.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace velmorandi::platform {
namespace {

// The folder's full path in the form that reaches past MAX_PATH and leaves
// names ending in a dot or a space as they are.
std::wstring extendedPath(const std::string& folder) {
    const std::wstring wide = widen(folder);
    DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return wide;
    std::wstring full(length, L'\0');
    length = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    full.resize(length);
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\"))
        return full;
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

constexpr DWORD kListingBuffer = 64 * 1024;

// The entries of one buffer, each handed to `visit`; false where one reaches
// past the buffer.
bool visitEntries(const void* buffer, const EntryVisitor& visit) {
    const auto* start = static_cast<const std::byte*>(buffer);
    constexpr std::size_t kHeader = offsetof(FILE_FULL_DIR_INFO, FileName);
    for (std::size_t at = 0;;) {
        const auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(start + at);
        if (at + kHeader > kListingBuffer || at + kHeader + entry->FileNameLength > kListingBuffer)
            return false;
        const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
        if (name != L"." && name != L"..") {
            const DWORD attributes = entry->FileAttributes;
            const std::string bytes = narrow(name);
            // No file number comes with the entry: identity stays 0, which a run
            // never reads where the file system is not said to keep numbers.
            const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const FileFacts facts =
                isFolder ? FileFacts{}
                         : FileFacts{nanosecondsSince1970(entry->LastWriteTime.QuadPart),
                                     static_cast<std::uint64_t>(entry->EndOfFile.QuadPart)};
            visit({bytes, (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0,
                   isFolder, 0, facts});
        }
        if (entry->NextEntryOffset == 0)
            return true;
        at += entry->NextEntryOffset;
    }
}

} // namespace

FolderHandle::~FolderHandle() = default;

// Windows renames by path; the handle keeps the folder's full path only.
std::optional<SystemError> FolderHandle::open(const std::string& path) {
    const std::wstring folder = extendedPath(path);
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return errorFrom(::GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return errorFrom(ERROR_DIRECTORY);
    m_path = narrow(folder);
    return std::nullopt;
}

// The entries come through the folder's handle a buffer at a time, some
// hundreds a call, where FindNextFileW takes a call for each. The attributes
// come with every entry, so both kinds are resolved alike.
std::optional<SystemError>
FolderHandle::forEachEntry(const EntryVisitor& visit, EntryKinds,
                           const std::function<void()>& meanwhile) const {
    if (meanwhile)
        meanwhile();
    const FileHandle folder(::CreateFileW(widen(m_path).c_str(), FILE_LIST_DIRECTORY,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                          nullptr));
    if (!folder.valid())
        return errorFrom(::GetLastError());
    std::vector<std::uint64_t> buffer(kListingBuffer / sizeof(std::uint64_t)); // aligned
    while (::GetFileInformationByHandleEx(folder.get(), FileFullDirectoryInfo, buffer.data(),
                                          kListingBuffer))
        if (!visitEntries(buffer.data(), visit))
            return errorFrom(ERROR_INVALID_DATA);
    const DWORD code = ::GetLastError();
    // An empty drive root has not even "." to report.
    return code == ERROR_NO_MORE_FILES || code == ERROR_FILE_NOT_FOUND
               ? std::nullopt
               : std::optional<SystemError>(errorFrom(code));
}

std::optional<SystemError> FolderHandle::sync() const {
    const FileHandle folder(::CreateFileW(widen(m_path).c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                          nullptr));
    if (folder.get() != INVALID_HANDLE_VALUE && ::FlushFileBuffers(folder.get()))
        return std::nullopt;
    const DWORD code = ::GetLastError();
    // Some file systems cannot flush a folder at all; nothing more can be done there.
    if (code == ERROR_INVALID_FUNCTION || code == ERROR_ACCESS_DENIED ||
        code == ERROR_NOT_SUPPORTED)
        return std::nullopt;
    return errorFrom(code);
}

bool meansNameTaken(const SystemError& error) {
    return error.code == ERROR_ALREADY_EXISTS || error.code == ERROR_FILE_EXISTS;
}

// ERROR_DIRECTORY: the path names a file where a folder was expected (see open).
bool meansNoSuchFile(const SystemError& error) {
    return error.code == ERROR_FILE_NOT_FOUND || error.code == ERROR_PATH_NOT_FOUND ||
           error.code == ERROR_DIRECTORY;
}

SystemError noSuchFile() {
    return errorFrom(ERROR_FILE_NOT_FOUND);
}

SystemError noResources() {
    return errorFrom(ERROR_NOT_ENOUGH_MEMORY);
}

bool isPathSeparator(char c) {
    return c == '\\' || c == '/';
}

char pathSeparator() {
    return '\\';
}

std::optional<std::string> environmentVariable(const char* name) {
    const std::wstring wideName = widen(name);
    const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    if (length >= size)
        return std::nullopt;
    value.resize(length);
    return narrow(value);
}

std::vector<std::string_view> systemFolders() {
    return {};
}

} // namespace velmorandi::platform
