#include "platform/record_files.h"

#include "platform/linux/error_from.h"
#include "platform/record_lease.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmorandi::platform {
namespace {

int fdOf(std::intptr_t native) {
    return static_cast<int>(native);
}

bool lockWhole(int file) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
#if defined(F_OFD_SETLK)
    if (::fcntl(file, F_OFD_SETLK, &lock) == 0)
        return true;
    if (errno != EINVAL)
        return false;
#endif
    return ::flock(file, LOCK_EX | LOCK_NB) == 0;
}

RecordRefusal refusalOf(const struct stat& status) {
    if (S_ISLNK(status.st_mode))
        return RecordRefusal::Link;
    if (!S_ISREG(status.st_mode))
        return RecordRefusal::NotPlain;
    if (status.st_uid != ::geteuid())
        return RecordRefusal::OtherOwner;
    if ((status.st_mode & 022) != 0)
        return RecordRefusal::OthersMayWrite;
    if (static_cast<std::uint64_t>(status.st_size) > kRecordSizeLimit)
        return RecordRefusal::TooLarge;
    return RecordRefusal::None;
}

} // namespace

RecordFile::RecordFile() = default;

RecordFile::~RecordFile() {
    close();
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : m_native(other.m_native), m_size(other.m_size), m_lease(std::move(other.m_lease)),
      m_holder(std::move(other.m_holder)) {
    other.m_native = -1;
}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    std::swap(m_native, other.m_native);
    std::swap(m_size, other.m_size);
    std::swap(m_lease, other.m_lease);
    std::swap(m_holder, other.m_holder);
    return *this;
}

std::optional<SystemError> RecordFile::create(const RecordFolder& folder, const std::string& name) {
    close();
    m_holder.reset();
    SystemError leaseError{EEXIST, std::strerror(EEXIST)};
    if (!takeLease(folder, name, leaseError))
        return leaseError;
    const int file = ::openat(fdOf(folder.native()), name.c_str(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0) {
        const int code = errno;
        close();
        return errorFrom(code);
    }
    if (!lockWhole(file)) {
        const int code = errno;
        ::close(file);
        ::unlinkat(fdOf(folder.native()), name.c_str(), 0);
        close();
        return errorFrom(code);
    }
    m_native = file;
    m_size = 0;
    return std::nullopt;
}

RecordFile::Opened RecordFile::open(const RecordFolder& folder, const std::string& name, bool lock,
                                    RecordRefusal& why, SystemError& error) {
    close();
    m_holder.reset();
    const int parent = fdOf(folder.native());
    struct stat before {};
    if (::fstatat(parent, name.c_str(), &before, AT_SYMLINK_NOFOLLOW) != 0) {
        error = errorFrom(errno);
        return errno == ENOENT ? Opened::Gone : Opened::Failed;
    }
    // Never opened unless it is a plain file: opening a device or a pipe can
    // wait for ever, or do something.
    if (!S_ISREG(before.st_mode)) {
        why = refusalOf(before);
        return Opened::Refused;
    }
    const int file = ::openat(parent, name.c_str(),
                              (lock ? O_RDWR : O_RDONLY) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        error = errorFrom(errno);
        return errno == ENOENT ? Opened::Gone : Opened::Failed;
    }
    struct stat status {};
    if (::fstat(file, &status) != 0) {
        error = errorFrom(errno);
        ::close(file);
        return Opened::Failed;
    }
    why = refusalOf(status);
    if (why == RecordRefusal::None &&
        (status.st_ino != before.st_ino || status.st_dev != before.st_dev))
        why = RecordRefusal::Replaced;
    if (why != RecordRefusal::None) {
        ::close(file);
        return Opened::Refused;
    }
    if (lock && !takeLease(folder, name, error)) {
        ::close(file);
        return m_holder ? Opened::Held : Opened::Failed;
    }
    if (lock && !lockWhole(file)) {
        const int code = errno;
        ::close(file);
        close();
        if (code == EAGAIN || code == EACCES || code == EWOULDBLOCK)
            return Opened::Held;
        error = errorFrom(code);
        return Opened::Failed;
    }
    m_native = file;
    m_size = static_cast<std::uint64_t>(status.st_size);
    return Opened::Yes;
}

bool RecordFile::isOpen() const {
    return m_native >= 0;
}

void RecordFile::close() {
    if (m_native >= 0)
        ::close(fdOf(m_native));
    m_native = -1;
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
        const ssize_t got = ::pread(fdOf(m_native), bytes.data() + done, size - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errorFrom(errno);
        if (got == 0) {
            bytes.resize(done);
            return errorFrom(EIO); // cut short under the reader
        }
        done += static_cast<std::size_t>(got);
    }
    return std::nullopt;
}

std::optional<SystemError> RecordFile::append(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(fdOf(m_native), bytes.data(), bytes.size(), static_cast<off_t>(m_size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errorFrom(errno);
        // Sent on its way to the disk at once, so that the sync at the end
        // finds most of a large record written. Only a hint.
        ::sync_file_range(fdOf(m_native), static_cast<off_t>(m_size), written,
                          SYNC_FILE_RANGE_WRITE);
        m_size += static_cast<std::uint64_t>(written);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return std::nullopt;
}

std::optional<SystemError> RecordFile::cutTo(std::uint64_t size) {
    if (::ftruncate(fdOf(m_native), static_cast<off_t>(size)) != 0)
        return errorFrom(errno);
    m_size = size;
    return std::nullopt;
}

std::optional<SystemError> RecordFile::sync() const {
    if (::fdatasync(fdOf(m_native)) != 0)
        return errorFrom(errno);
    return std::nullopt;
}

namespace {

// Whether the folder's entry still names the file this handle has open.
bool namesThisFile(int folder, const std::string& name, int file) {
    struct stat entry {};
    struct stat open {};
    return ::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(file, &open) == 0 && entry.st_ino == open.st_ino && entry.st_dev == open.st_dev;
}

} // namespace

std::optional<SystemError> RecordFile::renameTo(const RecordFolder& folder, const std::string& from,
                                                const std::string& to) {
    if (!namesThisFile(fdOf(folder.native()), from, fdOf(m_native)))
        return errorFrom(ENOENT);
    return folder.rename(from, to);
}

std::optional<SystemError> RecordFile::remove(const RecordFolder& folder, const std::string& name) {
    if (!namesThisFile(fdOf(folder.native()), name, fdOf(m_native)))
        return errorFrom(ENOENT);
    if (::unlinkat(fdOf(folder.native()), name.c_str(), 0) != 0)
        return errorFrom(errno);
    return std::nullopt;
}

} // namespace velmorandi::platform
