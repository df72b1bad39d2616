#include "platform/record_files.h"

#include "platform/linux/error_from.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmorandi::platform {
namespace {

int fdOf(std::intptr_t native) {
    return static_cast<int>(native);
}

std::vector<std::string> componentsOf(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

RecordFolderProblem problem(RecordFolderProblem::Kind kind, const std::string& folder,
                            int code = 0) {
    return {kind, folder, code != 0 ? errorFrom(code) : SystemError{}};
}

// A folder on the way that this program did not make may be a link (a home
// folder often is), but only root or the user may be able to change it:
// whoever else could would decide what the records say.
std::optional<RecordFolderProblem> checkAncestor(const struct stat& status,
                                                 const std::string& folder) {
    const bool sticky = (status.st_mode & S_ISVTX) != 0;
    if (status.st_uid != 0 && status.st_uid != ::geteuid())
        return problem(RecordFolderProblem::Kind::OtherOwner, folder);
    if ((status.st_mode & 022) != 0 && !sticky)
        return problem(RecordFolderProblem::Kind::OthersMayWrite, folder);
    return std::nullopt;
}

// The folder itself, and every part of its path made here: the user's own,
// no other user may write to it, and never reached through a link.
std::optional<RecordFolderProblem> checkOwn(const struct stat& status, const std::string& folder) {
    if (status.st_uid != ::geteuid())
        return problem(RecordFolderProblem::Kind::OtherOwner, folder);
    if ((status.st_mode & 022) != 0)
        return problem(RecordFolderProblem::Kind::OthersMayWrite, folder);
    return std::nullopt;
}

// Opens one part of the path below `parent`, making it where it is missing.
// `made` and `own` tell whether it must be the user's own.
int openPart(int parent, const std::string& name, bool own, bool& made, int& code) {
    made = false;
    int part = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (part < 0 && errno == ENOENT) {
        if (::mkdirat(parent, name.c_str(), 0700) == 0)
            made = true;
        else if (errno != EEXIST) {
            code = errno;
            return -1;
        }
        part = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (part < 0 && (errno == ELOOP || errno == ENOTDIR) && !own && !made)
        part = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (part < 0)
        code = errno;
    return part;
}

bool isLink(int parent, const std::string& name) {
    struct stat status {};
    return ::fstatat(parent, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(status.st_mode);
}

// renameat2 with RENAME_NOREPLACE; where the file system does not know the
// flag (NFS homes), a look first: only this user's programs write here.
int renameWithoutReplacing(int folder, const char* from, const char* to) {
#if defined(SYS_renameat2)
    if (::syscall(SYS_renameat2, folder, from, folder, to, 1u) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
#endif
    struct stat status {};
    if (::fstatat(folder, to, &status, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(folder, from, folder, to);
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

std::variant<std::string, RecordFolderProblem> recordFolderLocation() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return std::string(state) + "/velmorandi";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/state/velmorandi";
    return RecordFolderProblem{RecordFolderProblem::Kind::NoLocation, "~/.local/state/velmorandi",
                               SystemError{0, "neither HOME nor XDG_STATE_HOME is set"}};
}

RecordFolder::~RecordFolder() {
    if (m_native >= 0)
        ::close(fdOf(m_native));
}

RecordFolder::RecordFolder(RecordFolder&& other) noexcept
    : m_path(std::move(other.m_path)), m_native(other.m_native) {
    other.m_native = -1;
}

RecordFolder& RecordFolder::operator=(RecordFolder&& other) noexcept {
    std::swap(m_path, other.m_path);
    std::swap(m_native, other.m_native);
    return *this;
}

std::optional<RecordFolderProblem> RecordFolder::open(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return problem(RecordFolderProblem::Kind::NoLocation, path, ENOENT);
    int folder = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return problem(RecordFolderProblem::Kind::Unreachable, path, errno);
    const std::vector<std::string> parts = componentsOf(path);
    std::string reached;
    bool madeAny = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        reached += "/" + parts[i];
        const bool last = i + 1 == parts.size();
        bool made = false;
        int code = 0;
        const int part = openPart(folder, parts[i], last || madeAny, made, code);
        const bool link =
            part < 0 && (code == ELOOP || code == ENOTDIR) && isLink(folder, parts[i]);
        ::close(folder);
        if (part < 0) {
            if (link)
                return problem(RecordFolderProblem::Kind::Link, reached);
            if (code == ENOTDIR)
                return problem(RecordFolderProblem::Kind::NotAFolder, reached);
            return problem(RecordFolderProblem::Kind::Unreachable, reached, code);
        }
        folder = part;
        madeAny = madeAny || made;
        struct stat status {};
        if (::fstat(folder, &status) != 0) {
            const int error = errno;
            ::close(folder);
            return problem(RecordFolderProblem::Kind::Unreachable, reached, error);
        }
        if (auto wrong =
                last || made ? checkOwn(status, reached) : checkAncestor(status, reached)) {
            ::close(folder);
            return wrong;
        }
    }
    if (m_native >= 0)
        ::close(fdOf(m_native));
    m_native = folder;
    m_path = path;
    return std::nullopt;
}

bool RecordFolder::isOpen() const {
    return m_native >= 0;
}

std::string RecordFolder::pathOf(const std::string& name) const {
    return m_path + "/" + name;
}

std::optional<SystemError> RecordFolder::names(std::vector<std::string>& names) const {
    names.clear();
    const int duplicate = ::fcntl(fdOf(m_native), F_DUPFD_CLOEXEC, 0);
    if (duplicate < 0)
        return errorFrom(errno);
    DIR* stream = ::fdopendir(duplicate);
    if (stream == nullptr) {
        const int code = errno;
        ::close(duplicate);
        return errorFrom(code);
    }
    ::rewinddir(stream);
    errno = 0;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    const int code = errno;
    ::closedir(stream);
    return code != 0 ? std::optional<SystemError>(errorFrom(code)) : std::nullopt;
}

std::optional<SystemError> RecordFolder::rename(const std::string& from,
                                                const std::string& to) const {
    if (renameWithoutReplacing(fdOf(m_native), from.c_str(), to.c_str()) != 0)
        return errorFrom(errno);
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::sync() const {
    if (::fsync(fdOf(m_native)) == 0 || errno == EINVAL || errno == EROFS)
        return std::nullopt;
    return errorFrom(errno);
}

RecordFile::~RecordFile() {
    close();
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : m_native(other.m_native), m_size(other.m_size) {
    other.m_native = -1;
}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    std::swap(m_native, other.m_native);
    std::swap(m_size, other.m_size);
    return *this;
}

std::optional<SystemError> RecordFile::create(const RecordFolder& folder, const std::string& name) {
    close();
    const int file = ::openat(fdOf(folder.native()), name.c_str(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0)
        return errorFrom(errno);
    if (!lockWhole(file)) {
        const int code = errno;
        ::close(file);
        ::unlinkat(fdOf(folder.native()), name.c_str(), 0);
        return errorFrom(code);
    }
    m_native = file;
    m_size = 0;
    return std::nullopt;
}

RecordFile::Opened RecordFile::open(const RecordFolder& folder, const std::string& name, bool lock,
                                    RecordRefusal& why, SystemError& error) {
    close();
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
    if (lock && !lockWhole(file)) {
        const int code = errno;
        ::close(file);
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
            return SystemError{EIO, "the file ends before the bytes asked for"};
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
