#include "platform/folder_changes.h"

#include "platform/linux/error_from.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmorandi::platform {
namespace {

int handleOf(const FolderHandle& folder) {
    return static_cast<int>(folder.native());
}

std::optional<SystemError> result(int value) {
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

std::optional<SystemError> createPlaceholder(const FolderHandle& folder, const std::string& name) {
    const int file = ::openat(handleOf(folder), name.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0)
        return errorFrom(errno);
    ::close(file);
    return std::nullopt;
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
