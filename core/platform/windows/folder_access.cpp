#include "platform/folder_access.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdlib>

namespace velmorandi::platform {
namespace {

std::wstring widen(std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string narrow(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

SystemError errorFrom(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::string reason =
        length ? narrow(std::wstring_view(buffer, length)) : "Error " + std::to_string(code);
    ::LocalFree(buffer);
    // The system's sentences end in ".\r\n"; the messages add their own full stop.
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return {static_cast<int>(code), reason};
}

std::wstring joinWide(const std::string& folder, const std::string& name) {
    std::wstring path = widen(folder);
    if (path.empty() || (path.back() != L'\\' && path.back() != L'/'))
        path.push_back(L'\\');
    path += widen(name);
    return path;
}

class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : m_handle(handle) {}
    ~FindHandle() {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::FindClose(m_handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return m_handle; }

  private:
    HANDLE m_handle;
};

} // namespace

FolderHandle::~FolderHandle() = default;

// Windows renames by path; the handle keeps the folder's path only.
std::optional<SystemError> FolderHandle::open(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return errorFrom(::GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return errorFrom(ERROR_DIRECTORY);
    m_path = path;
    return std::nullopt;
}

std::optional<SystemError> FolderHandle::readEntries(std::vector<FolderEntry>& entries,
                                                     EntryKinds) const {
    entries.clear();
    WIN32_FIND_DATAW data;
    const FindHandle find(::FindFirstFileExW(joinWide(m_path, "*").c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    if (find.get() == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        // An empty drive root has not even "." to report.
        return code == ERROR_FILE_NOT_FOUND ? std::nullopt
                                            : std::optional<SystemError>(errorFrom(code));
    }
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const DWORD attributes = data.dwFileAttributes;
        entries.push_back({narrow(name),
                           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0,
                           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileW(find.get(), &data));
    const DWORD code = ::GetLastError();
    if (code != ERROR_NO_MORE_FILES) {
        entries.clear();
        return errorFrom(code);
    }
    return std::nullopt;
}

// MoveFileExW without MOVEFILE_REPLACE_EXISTING already refuses a taken name on
// every Windows file system, so there is only one method here.
std::optional<SystemError>
FolderHandle::renameNoReplace(const std::string& from, const std::string& to, RenameMethod) const {
    if (::MoveFileExW(joinWide(m_path, from).c_str(), joinWide(m_path, to).c_str(), 0))
        return std::nullopt;
    return errorFrom(::GetLastError());
}

// NTFS journals its metadata; there is no folder sync to ask for.
std::optional<SystemError> FolderHandle::sync() const {
    return std::nullopt;
}

bool meansNameTaken(const SystemError& error) {
    return error.code == ERROR_ALREADY_EXISTS || error.code == ERROR_FILE_EXISTS;
}

bool isPathSeparator(char c) {
    return c == '\\' || c == '/';
}

char pathSeparator() {
    return '\\';
}

std::optional<std::string> environmentVariable(const char* name) {
    const wchar_t* value = ::_wgetenv(widen(name).c_str());
    if (!value)
        return std::nullopt;
    return narrow(value);
}

std::vector<std::string_view> systemFolders() {
    return {};
}

} // namespace velmorandi::platform
