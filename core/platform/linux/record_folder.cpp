#include "platform/record_folder.h"

#include "platform/linux/error_from.h"
#include "platform/linux/mount_table.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
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

std::string userName(uid_t user) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(user, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr)
        return found->pw_name;
    return std::to_string(user);
}

RecordFolderProblem otherOwner(const struct stat& status, const std::string& folder) {
    RecordFolderProblem other = problem(RecordFolderProblem::Kind::OtherOwner, folder);
    other.owner = userName(status.st_uid);
    other.ownerIsAdministrator = status.st_uid == 0;
    other.runningAsAdministrator = ::geteuid() == 0;
    return other;
}

// A folder on the way that this program did not make may be a link (a home
// folder often is), but only root or the user may be able to change it:
// whoever else could would decide what the records say.
std::optional<RecordFolderProblem> checkAncestor(const struct stat& status,
                                                 const std::string& folder) {
    const bool sticky = (status.st_mode & S_ISVTX) != 0;
    if (status.st_uid != 0 && status.st_uid != ::geteuid())
        return otherOwner(status, folder);
    if ((status.st_mode & 022) != 0 && !sticky)
        return problem(RecordFolderProblem::Kind::OthersMayWrite, folder);
    return std::nullopt;
}

// The folder itself, and every part of its path made here: the user's own,
// no other user may write to it, and never reached through a link.
std::optional<RecordFolderProblem> checkOwn(const struct stat& status, const std::string& folder) {
    if (status.st_uid != ::geteuid())
        return otherOwner(status, folder);
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

} // namespace

std::variant<std::string, RecordFolderProblem> recordFolderLocation() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return std::string(state) + "/velmorandi";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/state/velmorandi";
    RecordFolderProblem nowhere{
        RecordFolderProblem::Kind::NoLocation, "~/.local/state/velmorandi", {}};
    nowhere.unsetVariables = {"HOME", "XDG_STATE_HOME"};
    return nowhere;
}

RecordFolder::~RecordFolder() {
    if (m_native >= 0)
        ::close(fdOf(m_native));
}

RecordFolder::RecordFolder(RecordFolder&& other) noexcept
    : m_path(std::move(other.m_path)), m_native(other.m_native), m_leased(other.m_leased) {
    other.m_native = -1;
}

RecordFolder& RecordFolder::operator=(RecordFolder&& other) noexcept {
    std::swap(m_path, other.m_path);
    std::swap(m_native, other.m_native);
    std::swap(m_leased, other.m_leased);
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
    m_leased = fileSystemKindOf(folder).network;
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::duplicate(RecordFolder& copy) const {
    const int again = ::fcntl(fdOf(m_native), F_DUPFD_CLOEXEC, 0);
    if (again < 0)
        return errorFrom(errno);
    if (copy.m_native >= 0)
        ::close(fdOf(copy.m_native));
    copy.m_native = again;
    copy.m_path = m_path;
    copy.m_leased = m_leased;
    return std::nullopt;
}

bool RecordFolder::isOpen() const {
    return m_native >= 0;
}

std::string RecordFolder::pathOf(const std::string& name) const {
    return m_path + "/" + name;
}

// Opened afresh each time: a network client may answer a folder it has
// open, read to its end once, from what it read then.
std::optional<SystemError> RecordFolder::stamp(FolderStamp& stamp) const {
    struct stat status {};
    if (::fstat(fdOf(m_native), &status) != 0)
        return errorFrom(errno);
    const auto nanoseconds = [](const timespec& time) {
        return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
    };
    stamp = {static_cast<std::uint64_t>(status.st_ino), nanoseconds(status.st_mtim),
             nanoseconds(status.st_ctim)};
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::names(std::vector<std::string>& names) const {
    names.clear();
    const int again = ::openat(fdOf(m_native), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (again < 0)
        return errorFrom(errno);
    DIR* stream = ::fdopendir(again);
    if (stream == nullptr) {
        const int code = errno;
        ::close(again);
        return errorFrom(code);
    }
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

// Whatever holds no data of its own: the small files beside the records.
std::optional<SystemError> RecordFolder::readSmall(const std::string& name, std::size_t limit,
                                                   std::string& bytes) const {
    const int file =
        ::openat(fdOf(m_native), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return errorFrom(errno);
    struct stat status {};
    std::optional<SystemError> error;
    if (::fstat(file, &status) != 0)
        error = errorFrom(errno);
    else if (!S_ISREG(status.st_mode) || status.st_uid != ::geteuid())
        error = errorFrom(EPERM);
    bytes.assign(limit, '\0');
    std::size_t done = 0;
    while (!error && done < limit) {
        const ssize_t got = ::read(file, bytes.data() + done, limit - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = errorFrom(errno);
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    ::close(file);
    return error;
}

std::optional<SystemError> RecordFolder::writeNew(const std::string& name,
                                                  std::string_view bytes) const {
    const int file = ::openat(fdOf(m_native), name.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0)
        return errorFrom(errno);
    int code = 0;
    while (!bytes.empty() && code == 0) {
        const ssize_t written = ::write(file, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR)
            code = errno;
        else if (written > 0)
            bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    // Closed before it counts: a network client sends what was written then.
    if (::close(file) != 0 && code == 0)
        code = errno;
    if (code != 0) {
        ::unlinkat(fdOf(m_native), name.c_str(), 0);
        return errorFrom(code);
    }
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::replace(const std::string& name,
                                                 std::string_view bytes) const {
    static std::atomic<unsigned> count{0};
    const std::string written =
        name + "-" + std::to_string(::getpid()) + "-" + std::to_string(count.fetch_add(1)) + ".new";
    if (auto error = writeNew(written, bytes))
        return error;
    if (::renameat(fdOf(m_native), written.c_str(), fdOf(m_native), name.c_str()) != 0) {
        const int code = errno;
        ::unlinkat(fdOf(m_native), written.c_str(), 0);
        return errorFrom(code);
    }
    return std::nullopt;
}

std::optional<SystemError> RecordFolder::removeName(const std::string& name) const {
    if (::unlinkat(fdOf(m_native), name.c_str(), 0) != 0)
        return errorFrom(errno);
    return std::nullopt;
}

} // namespace velmorandi::platform
