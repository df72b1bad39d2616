#include "platform/folder_changes.h"

#include "platform/linux/error_from.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace velmorandi::platform {
namespace {

int handleOf(const FolderHandle& folder) {
    return static_cast<int>(folder.native());
}

[[nodiscard]] std::optional<SystemError> result(int value) {
    if (value == 0)
        return std::nullopt;
    return errorFrom(errno);
}

// renameat2(2); older C libraries lack the wrapper, the kernel call is the same.
int renameWithFlags(int folder, const char* from, const char* to, unsigned flags) {
#if defined(SYS_renameat2)
    return static_cast<int>(::syscall(SYS_renameat2, folder, from, folder, to, flags));
#else
    (void)folder, (void)from, (void)to, (void)flags;
    errno = ENOSYS;
    return -1;
#endif
}

constexpr unsigned kNoReplace = 1u; // RENAME_NOREPLACE
constexpr unsigned kExchange = 2u;  // RENAME_EXCHANGE

std::int64_t nanoseconds(const struct statx_timestamp& time) {
    return time.tv_sec * 1'000'000'000LL + time.tv_nsec;
}

// 0, or the error that stopped it.
int writeAll(int file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(file, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// The name still leads to the file this descriptor has open.
bool isOpenedAs(int folder, const std::string& name, int file) {
    struct stat entry {};
    struct stat open {};
    return ::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(file, &open) == 0 && entry.st_ino == open.st_ino && entry.st_dev == open.st_dev;
}

// A plain file opened for reading, or -1 with errno set.
int openPlain(int folder, const std::string& name) {
    const int file = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (file >= 0 && (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode))) {
        ::close(file);
        errno = EINVAL;
        return -1;
    }
    return file;
}

// Up to `size` bytes, fewer only at the end of the file; -1 on error.
ssize_t readUpTo(int file, char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(file, into + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

class Descriptor {
  public:
    explicit Descriptor(int value) : m_value(value) {}
    ~Descriptor() {
        if (m_value >= 0)
            ::close(m_value);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_value; }

  private:
    int m_value;
};

} // namespace

std::optional<SystemError> renameNoReplace(const FolderHandle& folder, const std::string& from,
                                           const std::string& to) {
    return result(renameWithFlags(handleOf(folder), from.c_str(), to.c_str(), kNoReplace));
}

// EINVAL: the file system does not know the flag (NFS, most FUSE servers).
bool meansNoReplaceUnsupported(const SystemError& error) {
    return error.code == EINVAL || error.code == ENOSYS;
}

std::optional<SystemError> linkName(const FolderHandle& folder, const std::string& from,
                                    const std::string& to) {
    return result(::linkat(handleOf(folder), from.c_str(), handleOf(folder), to.c_str(), 0));
}

// FAT-like file systems have no second names; others refuse them for a file.
bool meansLinksUnsupported(const SystemError& error) {
    return error.code == EPERM || error.code == EOPNOTSUPP || error.code == ENOSYS ||
           error.code == EMLINK;
}

std::optional<SystemError> unlinkName(const FolderHandle& folder, const std::string& name) {
    return result(::unlinkat(handleOf(folder), name.c_str(), 0));
}

PlaceholderFile::~PlaceholderFile() {
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
}

std::optional<SystemError> PlaceholderFile::create(const FolderHandle& folder,
                                                   const std::string& name) {
    const int file = ::openat(handleOf(folder), name.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0)
        return errorFrom(errno);
    m_folder = &folder;
    m_name = name;
    m_handle = file;
    return std::nullopt;
}

std::optional<SystemError> PlaceholderFile::write(std::string_view content) {
    const int code = m_handle < 0 ? EBADF : writeAll(static_cast<int>(m_handle), content);
    return code == 0 ? std::nullopt : std::optional<SystemError>(errorFrom(code));
}

std::optional<SystemError> PlaceholderFile::discard() {
    if (m_handle < 0)
        return errorFrom(EBADF);
    const int file = static_cast<int>(std::exchange(m_handle, -1));
    std::optional<SystemError> error;
    if (isOpenedAs(handleOf(*m_folder), m_name, file))
        error = result(::unlinkat(handleOf(*m_folder), m_name.c_str(), 0));
    ::close(file);
    return error;
}

std::optional<SystemError> renameReplacing(const FolderHandle& folder, const std::string& from,
                                           const std::string& to) {
    return result(::renameat(handleOf(folder), from.c_str(), handleOf(folder), to.c_str()));
}

std::optional<SystemError> exchangeNames(const FolderHandle& folder, const std::string& a,
                                         const std::string& b) {
    return result(renameWithFlags(handleOf(folder), a.c_str(), b.c_str(), kExchange));
}

std::optional<SystemError> entryStatus(const FolderHandle& folder, const std::string& name,
                                       EntryStatus& status) {
    struct statx found {};
    const unsigned mask =
        STATX_TYPE | STATX_INO | STATX_NLINK | STATX_SIZE | STATX_MTIME | STATX_BTIME;
    if (::statx(handleOf(folder), name.c_str(), AT_SYMLINK_NOFOLLOW, mask, &found) != 0)
        return errorFrom(errno);
    status.regular = S_ISREG(found.stx_mode);
    status.identity = found.stx_ino;
    status.links = found.stx_nlink;
    status.size = found.stx_size;
    status.birth = (found.stx_mask & STATX_BTIME) != 0 ? nanoseconds(found.stx_btime) : 0;
    status.modified = nanoseconds(found.stx_mtime);
    return std::nullopt;
}

} // namespace velmorandi::platform

namespace velmorandi::platform {

std::optional<SystemError> readStart(const FolderHandle& folder, const std::string& name,
                                     std::size_t limit, std::string& bytes) {
    const Descriptor file(openPlain(handleOf(folder), name));
    if (file.get() < 0)
        return errorFrom(errno);
    bytes.resize(limit);
    const ssize_t got = readUpTo(file.get(), bytes.data(), limit);
    if (got < 0)
        return errorFrom(errno);
    bytes.resize(static_cast<std::size_t>(got));
    return std::nullopt;
}

// The drive asked afresh, not the system's memory of it. A drive client may
// answer for a file it has open from what it knew when it opened it (sshfs
// does), so the file is opened anew for each look.
std::optional<SystemError> freshMode(int folder, const std::string& name, mode_t& mode) {
    const Descriptor file(openPlain(folder, name));
    struct statx found {};
    if (file.get() < 0 ||
        ::statx(file.get(), "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_MODE, &found) != 0)
        return errorFrom(errno);
    mode = found.stx_mode & 07777;
    return std::nullopt;
}

std::optional<SystemError> sameFileByMark(const FolderHandle& folder, const std::string& a,
                                          const std::string& b, bool& same) {
    same = false;
    const Descriptor first(openPlain(handleOf(folder), a));
    if (first.get() < 0)
        return errorFrom(errno);
    mode_t before = 0;
    mode_t seen = 0;
    if (auto error = freshMode(handleOf(folder), a, before))
        return error;
    if (auto error = freshMode(handleOf(folder), b, seen))
        return error;
    if (seen != before)
        return std::nullopt;
    const mode_t marked = before ^ S_ISVTX;
    if (::fchmod(first.get(), marked) != 0)
        return errorFrom(errno);
    const std::optional<SystemError> read = freshMode(handleOf(folder), b, seen);
    if (::fchmod(first.get(), before) != 0)
        return errorFrom(errno);
    if (read)
        return read;
    same = seen == marked;
    return std::nullopt;
}

} // namespace velmorandi::platform
