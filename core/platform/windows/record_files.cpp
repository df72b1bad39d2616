#include "platform/record_files.h"

#include "platform/folder_access.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

#include <sddl.h>

#include <cstring>
#include <memory>
#include <vector>

namespace velmorandi::platform {
namespace {

HANDLE handleOf(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

constexpr std::intptr_t kNone = -1;

// "D:P(A;OICI;FA;;;<the user's SID>)": full access for the user alone, not
// inherited from the folder above.
std::wstring userOnlyAccess() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    std::wstring access;
    wchar_t* sid = nullptr;
    if (size != 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
        access = L"D:P(A;OICI;FA;;;" + std::wstring(sid) + L")";
        ::LocalFree(sid);
    }
    ::CloseHandle(token);
    return access;
}

// Made for the user alone; an existing folder is left as it is.
bool makePrivateFolder(const std::wstring& path) {
    const std::wstring access = userOnlyAccess();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
    if (!access.empty() && ::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                               access.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        attributes.lpSecurityDescriptor = descriptor;
    const BOOL made = ::CreateDirectoryW(path.c_str(), &attributes);
    const DWORD code = ::GetLastError();
    if (descriptor)
        ::LocalFree(descriptor);
    ::SetLastError(code);
    return made || code == ERROR_ALREADY_EXISTS;
}

RecordFolderProblem problem(RecordFolderProblem::Kind kind, const std::string& folder,
                            DWORD code = 0) {
    return {kind, folder, code != 0 ? errorFrom(code) : SystemError{}};
}

RecordRefusal refusalOf(DWORD attributes, std::uint64_t size) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return RecordRefusal::Link;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return RecordRefusal::NotPlain;
    if (size > kRecordSizeLimit)
        return RecordRefusal::TooLarge;
    return RecordRefusal::None;
}

std::uint64_t sizeOf(const BY_HANDLE_FILE_INFORMATION& information) {
    return (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
}

} // namespace

std::variant<std::string, RecordFolderProblem> recordFolderLocation() {
    const std::optional<std::string> base = environmentVariable("LOCALAPPDATA");
    if (!base || base->empty())
        return RecordFolderProblem{RecordFolderProblem::Kind::NoLocation,
                                   "%LOCALAPPDATA%\\Velmorandi",
                                   SystemError{ERROR_ENVVAR_NOT_FOUND,
                                               "the LOCALAPPDATA environment variable is not set"}};
    std::string path = *base;
    if (path.back() != '\\' && path.back() != '/')
        path.push_back('\\');
    return path + "Velmorandi";
}

RecordFolder::~RecordFolder() {
    if (m_native != kNone)
        ::CloseHandle(handleOf(m_native));
}

RecordFolder::RecordFolder(RecordFolder&& other) noexcept
    : m_path(std::move(other.m_path)), m_native(other.m_native) {
    other.m_native = kNone;
}

RecordFolder& RecordFolder::operator=(RecordFolder&& other) noexcept {
    std::swap(m_path, other.m_path);
    std::swap(m_native, other.m_native);
    return *this;
}

// The user's local application data lies in their profile, closed to other
// users; the folder made there is given an access list for the user alone. A
// junction or link in its place could lead anywhere: refused.
std::optional<RecordFolderProblem> RecordFolder::open(const std::string& path) {
    const std::wstring wide = widen(path);
    if (!makePrivateFolder(wide))
        return problem(RecordFolderProblem::Kind::Unreachable, path, ::GetLastError());
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return problem(RecordFolderProblem::Kind::Unreachable, path, ::GetLastError());
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return problem(RecordFolderProblem::Kind::Link, path);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return problem(RecordFolderProblem::Kind::NotAFolder, path);
    const HANDLE folder = ::CreateFileW(
        wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return problem(RecordFolderProblem::Kind::Unreachable, path, ::GetLastError());
    if (m_native != kNone)
        ::CloseHandle(handleOf(m_native));
    m_native = reinterpret_cast<std::intptr_t>(folder);
    m_path = path;
    return std::nullopt;
}

bool RecordFolder::isOpen() const {
    return m_native != kNone;
}

std::string RecordFolder::pathOf(const std::string& name) const {
    return m_path + "\\" + name;
}

std::optional<SystemError> RecordFolder::names(std::vector<std::string>& names) const {
    names.clear();
    WIN32_FIND_DATAW data;
    const FindHandle find(::FindFirstFileExW(joinWide(m_path, "*").c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, 0));
    if (find.get() == INVALID_HANDLE_VALUE)
        return errorFrom(::GetLastError());
    do {
        const std::wstring_view name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(narrow(name));
    } while (::FindNextFileW(find.get(), &data));
    const DWORD code = ::GetLastError();
    return code == ERROR_NO_MORE_FILES ? std::nullopt : std::optional<SystemError>(errorFrom(code));
}

std::optional<SystemError> RecordFolder::rename(const std::string& from,
                                                const std::string& to) const {
    if (!::MoveFileExW(joinWide(m_path, from).c_str(), joinWide(m_path, to).c_str(),
                       MOVEFILE_WRITE_THROUGH))
        return errorFrom(::GetLastError());
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::sync() const {
    FolderHandle folder;
    if (auto error = folder.open(m_path))
        return error;
    return folder.sync();
}

RecordFile::~RecordFile() {
    close();
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : m_native(other.m_native), m_size(other.m_size) {
    other.m_native = kNone;
}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    std::swap(m_native, other.m_native);
    std::swap(m_size, other.m_size);
    return *this;
}

// Held without sharing writes or deletes: no other process can open it to
// change it, and the hold ends with the handle.
std::optional<SystemError> RecordFile::create(const RecordFolder& folder, const std::string& name) {
    close();
    const HANDLE file =
        ::CreateFileW(joinWide(folder.path(), name).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                      FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return errorFrom(::GetLastError());
    m_native = reinterpret_cast<std::intptr_t>(file);
    m_size = 0;
    return std::nullopt;
}

RecordFile::Opened RecordFile::open(const RecordFolder& folder, const std::string& name, bool lock,
                                    RecordRefusal& why, SystemError& error) {
    close();
    const std::wstring path = joinWide(folder.path(), name);
    WIN32_FILE_ATTRIBUTE_DATA before;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &before)) {
        const DWORD code = ::GetLastError();
        error = errorFrom(code);
        return code == ERROR_FILE_NOT_FOUND ? Opened::Gone : Opened::Failed;
    }
    why = refusalOf(before.dwFileAttributes, 0);
    if (why != RecordRefusal::None)
        return Opened::Refused;
    const HANDLE file = ::CreateFileW(
        path.c_str(), lock ? GENERIC_READ | GENERIC_WRITE | DELETE : GENERIC_READ,
        lock ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        error = errorFrom(code);
        if (code == ERROR_SHARING_VIOLATION)
            return lock ? Opened::Held : Opened::Failed;
        return code == ERROR_FILE_NOT_FOUND ? Opened::Gone : Opened::Failed;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &information))
        why = RecordRefusal::NotPlain;
    else
        why = refusalOf(information.dwFileAttributes, sizeOf(information));
    if (why != RecordRefusal::None) {
        ::CloseHandle(file);
        return Opened::Refused;
    }
    m_native = reinterpret_cast<std::intptr_t>(file);
    m_size = sizeOf(information);
    return Opened::Yes;
}

bool RecordFile::isOpen() const {
    return m_native != kNone;
}

void RecordFile::close() {
    if (m_native != kNone)
        ::CloseHandle(handleOf(m_native));
    m_native = kNone;
    m_size = 0;
}

std::uint64_t RecordFile::size() const {
    return m_size;
}

std::optional<SystemError> RecordFile::read(std::uint64_t offset, std::size_t size,
                                            std::string& bytes) const {
    bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        const std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(handleOf(m_native), bytes.data() + done, chunk, &got, &at))
            return errorFrom(::GetLastError());
        if (got == 0) {
            bytes.resize(done);
            return SystemError{ERROR_HANDLE_EOF, "the file ends before the bytes asked for"};
        }
        done += got;
    }
    return std::nullopt;
}

std::optional<SystemError> RecordFile::append(std::string_view bytes) {
    while (!bytes.empty()) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(m_size);
        at.OffsetHigh = static_cast<DWORD>(m_size >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(handleOf(m_native), bytes.data(), chunk, &written, &at))
            return errorFrom(::GetLastError());
        m_size += written;
        bytes.remove_prefix(written);
    }
    return std::nullopt;
}

std::optional<SystemError> RecordFile::sync() const {
    if (!::FlushFileBuffers(handleOf(m_native)))
        return errorFrom(::GetLastError());
    return std::nullopt;
}

// Through the handle itself: the name may not be opened again while it is held.
std::optional<SystemError> RecordFile::renameTo(const RecordFolder& folder, const std::string&,
                                                const std::string& to) {
    const std::wstring target = joinWide(folder.path(), to);
    const std::size_t bytes = sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(bytes, 0);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, target.c_str(), target.size() * sizeof(wchar_t));
    if (!::SetFileInformationByHandle(handleOf(m_native), FileRenameInfo, rename,
                                      static_cast<DWORD>(bytes)))
        return errorFrom(::GetLastError());
    return std::nullopt;
}

std::optional<SystemError> RecordFile::remove(const RecordFolder&, const std::string&) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!::SetFileInformationByHandle(handleOf(m_native), FileDispositionInfo, &disposition,
                                      sizeof disposition))
        return errorFrom(::GetLastError());
    close(); // the name goes when the last handle does
    return std::nullopt;
}

} // namespace velmorandi::platform
