#include "platform/record_folder.h"

#include "platform/folder_access.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

#include <sddl.h>

#include <atomic>
#include <string>
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

// A share, or a drive letter mapped to one.
bool onNetworkDrive(const std::wstring& path) {
    if (path.starts_with(L"\\\\") && !path.starts_with(L"\\\\?\\") && !path.starts_with(L"\\\\.\\"))
        return true;
    wchar_t volume[MAX_PATH + 1] = {};
    return ::GetVolumePathNameW(path.c_str(), volume, MAX_PATH) &&
           ::GetDriveTypeW(volume) == DRIVE_REMOTE;
}

HANDLE openFolderHandle(const std::wstring& path) {
    return ::CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

} // namespace

std::variant<std::string, RecordFolderProblem> recordFolderLocation() {
    const std::optional<std::string> base = environmentVariable("LOCALAPPDATA");
    if (!base || base->empty()) {
        RecordFolderProblem nowhere{
            RecordFolderProblem::Kind::NoLocation, "%LOCALAPPDATA%\\Velmorandi", {}};
        nowhere.unsetVariables = {"LOCALAPPDATA"};
        return nowhere;
    }
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
    : m_path(std::move(other.m_path)), m_native(other.m_native), m_leased(other.m_leased) {
    other.m_native = kNone;
}

RecordFolder& RecordFolder::operator=(RecordFolder&& other) noexcept {
    std::swap(m_path, other.m_path);
    std::swap(m_native, other.m_native);
    std::swap(m_leased, other.m_leased);
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
    const HANDLE folder = openFolderHandle(wide);
    if (folder == INVALID_HANDLE_VALUE)
        return problem(RecordFolderProblem::Kind::Unreachable, path, ::GetLastError());
    if (m_native != kNone)
        ::CloseHandle(handleOf(m_native));
    m_native = reinterpret_cast<std::intptr_t>(folder);
    m_path = path;
    m_leased = onNetworkDrive(wide);
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::duplicate(RecordFolder& copy) const {
    const HANDLE again = openFolderHandle(widen(m_path));
    if (again == INVALID_HANDLE_VALUE)
        return errorFrom(::GetLastError());
    if (copy.m_native != kNone)
        ::CloseHandle(handleOf(copy.m_native));
    copy.m_native = reinterpret_cast<std::intptr_t>(again);
    copy.m_path = m_path;
    copy.m_leased = m_leased;
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::readSmall(const std::string& name, std::size_t limit,
                                                   std::string& bytes) const {
    const FileHandle file(::CreateFileW(joinWide(m_path, name).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                                        nullptr));
    if (!file.valid())
        return errorFrom(::GetLastError());
    BY_HANDLE_FILE_INFORMATION information;
    if (::GetFileType(file.get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(file.get(), &information) ||
        (information.dwFileAttributes &
         (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return errorFrom(ERROR_ACCESS_DENIED);
    bytes.assign(limit, '\0');
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(limit), &got, nullptr))
        return errorFrom(::GetLastError());
    bytes.resize(got);
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::writeNew(const std::string& name,
                                                  std::string_view bytes) const {
    const std::wstring path = joinWide(m_path, name);
    DWORD code = ERROR_SUCCESS;
    {
        const FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return errorFrom(::GetLastError());
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr) ||
            written != bytes.size())
            code = ::GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT : ::GetLastError();
    }
    if (code == ERROR_SUCCESS)
        return std::nullopt;
    ::DeleteFileW(path.c_str());
    return errorFrom(code);
}

std::optional<SystemError> RecordFolder::replace(const std::string& name,
                                                 std::string_view bytes) const {
    static std::atomic<unsigned> count{0};
    const std::string written = name + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                std::to_string(count.fetch_add(1)) + ".new";
    if (auto error = writeNew(written, bytes))
        return error;
    if (!::MoveFileExW(joinWide(m_path, written).c_str(), joinWide(m_path, name).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(joinWide(m_path, written).c_str());
        return errorFrom(code);
    }
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::removeName(const std::string& name) const {
    if (!::DeleteFileW(joinWide(m_path, name).c_str()))
        return errorFrom(::GetLastError());
    return std::nullopt;
}

bool RecordFolder::isOpen() const {
    return m_native != kNone;
}

std::string RecordFolder::pathOf(const std::string& name) const {
    return m_path + "\\" + name;
}

std::optional<SystemError> RecordFolder::stamp(FolderStamp& stamp) const {
    BY_HANDLE_FILE_INFORMATION information;
    if (!::GetFileInformationByHandle(handleOf(m_native), &information))
        return errorFrom(::GetLastError());
    // From 100-nanosecond steps since 1601.
    const auto time = static_cast<std::int64_t>(
        (std::uint64_t{information.ftLastWriteTime.dwHighDateTime} << 32) |
        information.ftLastWriteTime.dwLowDateTime);
    stamp = {(std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow,
             (time - 116'444'736'000'000'000) * 100, 0};
    return std::nullopt;
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

} // namespace velmorandi::platform
