#include "platform/folder_changes.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

#include <utility>

namespace velmorandi::platform {
namespace {

[[nodiscard]] std::optional<SystemError> lastError(BOOL succeeded) {
    if (succeeded)
        return std::nullopt;
    return errorFrom(::GetLastError());
}

// The name as the folder stores it, letter case included.
std::wstring storedName(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    const FindHandle find(::FindFirstFileExW(path.c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, 0));
    return find.get() == INVALID_HANDLE_VALUE ? std::wstring() : std::wstring(data.cFileName);
}

// As the file system compares names: by its upper-case table, not the user's locale.
bool sameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

// MoveFileExW without MOVEFILE_REPLACE_EXISTING refuses a taken name on every
// Windows file system.
std::optional<SystemError> renameNoReplace(const FolderHandle& folder, const std::string& from,
                                           const std::string& to) {
    const std::wstring source = joinWide(folder.path(), from);
    const std::wstring target = joinWide(folder.path(), to);
    if (!::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
        return errorFrom(::GetLastError());
    // NTFS changes the letter case in place; some file systems report success and
    // keep the old name. Answering "taken" then sends the move through a temporary name.
    // Names of other lengths differ in more than case: most steps ask nothing more.
    if (source.size() == target.size() && source != target && sameIgnoringCase(source, target) &&
        storedName(target) != widen(to))
        return errorFrom(ERROR_ALREADY_EXISTS);
    return std::nullopt;
}

bool meansNoReplaceUnsupported(const SystemError&) {
    return false;
}

std::optional<SystemError> linkName(const FolderHandle& folder, const std::string& from,
                                    const std::string& to) {
    return lastError(::CreateHardLinkW(joinWide(folder.path(), to).c_str(),
                                       joinWide(folder.path(), from).c_str(), nullptr));
}

bool meansLinksUnsupported(const SystemError& error) {
    return error.code == ERROR_NOT_SUPPORTED || error.code == ERROR_INVALID_FUNCTION;
}

std::optional<SystemError> unlinkName(const FolderHandle& folder, const std::string& name) {
    return lastError(::DeleteFileW(joinWide(folder.path(), name).c_str()));
}

PlaceholderFile::~PlaceholderFile() {
    if (m_handle != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

// Made with delete access, so that a content that cannot be written takes the
// file with it through its own handle, whatever took the name meanwhile.
std::optional<SystemError> PlaceholderFile::create(const FolderHandle& folder,
                                                   const std::string& name) {
    const HANDLE file = ::CreateFileW(joinWide(folder.path(), name).c_str(), GENERIC_WRITE | DELETE,
                                      0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return errorFrom(::GetLastError());
    m_folder = &folder;
    m_name = name;
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return std::nullopt;
}

std::optional<SystemError> PlaceholderFile::write(std::string_view content) {
    DWORD written = 0;
    if (m_handle != -1 &&
        ::WriteFile(reinterpret_cast<HANDLE>(m_handle), content.data(),
                    static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size())
        return std::nullopt;
    const DWORD code = ::GetLastError();
    return errorFrom(code == ERROR_SUCCESS ? ERROR_WRITE_FAULT : code);
}

std::optional<SystemError> PlaceholderFile::discard() {
    if (m_handle == -1)
        return errorFrom(ERROR_INVALID_HANDLE);
    const FileHandle file(reinterpret_cast<HANDLE>(std::exchange(m_handle, -1)));
    FILE_DISPOSITION_INFO disposition{TRUE};
    return lastError(::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition,
                                                  sizeof disposition));
}

std::optional<SystemError> renameReplacing(const FolderHandle& folder, const std::string& from,
                                           const std::string& to) {
    return lastError(::MoveFileExW(joinWide(folder.path(), from).c_str(),
                                   joinWide(folder.path(), to).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

// Never planned here: Windows has no atomic exchange, and describeFileSystem says so.
std::optional<SystemError> exchangeNames(const FolderHandle&, const std::string&,
                                         const std::string&) {
    return errorFrom(ERROR_NOT_SUPPORTED);
}

namespace {

// A plain file opened for reading, not through a reparse point; invalid where it is no such file.
HANDLE openPlain(const FolderHandle& folder, const std::string& name) {
    const HANDLE file =
        ::CreateFileW(joinWide(folder.path(), name).c_str(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    BY_HANDLE_FILE_INFORMATION information;
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if (file != INVALID_HANDLE_VALUE && (::GetFileType(file) != FILE_TYPE_DISK ||
                                         !::GetFileInformationByHandle(file, &information) ||
                                         (information.dwFileAttributes & notPlain) != 0)) {
        ::CloseHandle(file);
        ::SetLastError(ERROR_INVALID_FUNCTION);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

// Up to `size` bytes, fewer only at the end of the file.
bool readUpTo(HANDLE file, char* into, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        DWORD read = 0;
        if (!::ReadFile(file, into + got, static_cast<DWORD>(size - got), &read, nullptr))
            return false;
        if (read == 0)
            break;
        got += read;
    }
    return true;
}

} // namespace

std::optional<SystemError> readStart(const FolderHandle& folder, const std::string& name,
                                     std::size_t limit, std::string& bytes) {
    const FileHandle file(openPlain(folder, name));
    if (!file.valid())
        return errorFrom(::GetLastError());
    bytes.resize(limit);
    std::size_t got = 0;
    if (!readUpTo(file.get(), bytes.data(), limit, got))
        return errorFrom(::GetLastError());
    bytes.resize(got);
    return std::nullopt;
}

// Windows counts a file's names on every drive it can link on: a second
// name is proven by its file number there, and by nothing else.
std::optional<SystemError> sameFileByMark(const FolderHandle&, const std::string&,
                                          const std::string&, bool& same) {
    same = false;
    return errorFrom(ERROR_NOT_SUPPORTED);
}

std::optional<SystemError> entryStatus(const FolderHandle& folder, const std::string& name,
                                       EntryStatus& status) {
    const FileHandle file(::CreateFileW(
        joinWide(folder.path(), name).c_str(), FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    FILE_BASIC_INFO basic;
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &information) ||
        !::GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic))
        return errorFrom(::GetLastError());
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    status.regular = (information.dwFileAttributes & notPlain) == 0;
    status.identity =
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    status.links = information.nNumberOfLinks;
    status.size =
        (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    status.birth = nanosecondsSince1970(basic.CreationTime.QuadPart);
    status.modified = nanosecondsSince1970(basic.LastWriteTime.QuadPart);
    return std::nullopt;
}

} // namespace velmorandi::platform
