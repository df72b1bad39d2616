#include "platform/record_files.h"

#include "platform/record_lease.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace velmorandi::platform {
namespace {

HANDLE handleOf(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

constexpr std::intptr_t kNone = -1;

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

RecordFile::RecordFile() = default;

RecordFile::~RecordFile() {
    close();
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : m_native(other.m_native), m_size(other.m_size), m_lease(std::move(other.m_lease)),
      m_holder(std::move(other.m_holder)) {
    other.m_native = kNone;
}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    std::swap(m_native, other.m_native);
    std::swap(m_size, other.m_size);
    std::swap(m_lease, other.m_lease);
    std::swap(m_holder, other.m_holder);
    return *this;
}

// Held without sharing writes or deletes: no other process can open it to
// change it, and the hold ends with the handle.
std::optional<SystemError> RecordFile::create(const RecordFolder& folder, const std::string& name) {
    close();
    m_holder.reset();
    SystemError leaseError = errorFrom(ERROR_FILE_EXISTS);
    if (!takeLease(folder, name, leaseError))
        return leaseError;
    const HANDLE file =
        ::CreateFileW(joinWide(folder.path(), name).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                      FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        close();
        return errorFrom(code);
    }
    m_native = reinterpret_cast<std::intptr_t>(file);
    m_size = 0;
    return std::nullopt;
}

RecordFile::Opened RecordFile::open(const RecordFolder& folder, const std::string& name, bool lock,
                                    RecordRefusal& why, SystemError& error) {
    close();
    m_holder.reset();
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
    if (lock && !takeLease(folder, name, error))
        return m_holder ? Opened::Held : Opened::Failed;
    const HANDLE file = ::CreateFileW(
        path.c_str(), lock ? GENERIC_READ | GENERIC_WRITE | DELETE : GENERIC_READ,
        lock ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        error = errorFrom(code);
        close();
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
        close();
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
    m_lease.reset();
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
            return errorFrom(ERROR_HANDLE_EOF);
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

std::optional<SystemError> RecordFile::cutTo(std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(handleOf(m_native), FileEndOfFileInfo, &end, sizeof end))
        return errorFrom(::GetLastError());
    m_size = size;
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
    close(); // the name goes when the last handle does, and the lease with it
    return std::nullopt;
}

} // namespace velmorandi::platform
