#include "platform/folder_access.h"

#include "platform/linux/directory_read_ahead.h"
#include "platform/linux/error_from.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmorandi::platform {
namespace {

enum class Kind { File, Folder, Vanished };

// Only called where d_type cannot tell: unknown types and symbolic links.
Kind kindAt(int folder, const char* name, int& errorCode) {
    struct stat status {};
    if (::fstatat(folder, name, &status, 0) == 0)
        return S_ISDIR(status.st_mode) ? Kind::Folder : Kind::File;
    // A dangling or looping link is still an entry that can be renamed.
    if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) == 0)
        return S_ISDIR(status.st_mode) ? Kind::Folder : Kind::File;
    if (errno == ENOENT)
        return Kind::Vanished;
    errorCode = errno;
    return Kind::File;
}

class DirectoryStream {
  public:
    // Opened afresh rather than rewound: a network client (sshfs) answers a
    // folder it has open, once read to its end, with nothing more.
    explicit DirectoryStream(int folder) {
        const int again = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (again < 0)
            return;
        m_stream = ::fdopendir(again);
        if (!m_stream)
            ::close(again);
    }
    ~DirectoryStream() {
        if (m_stream)
            ::closedir(m_stream);
    }
    DirectoryStream(const DirectoryStream&) = delete;
    DirectoryStream& operator=(const DirectoryStream&) = delete;
    DIR* get() const { return m_stream; }

  private:
    DIR* m_stream = nullptr;
};

} // namespace

FolderHandle::~FolderHandle() {
    if (m_native >= 0)
        ::close(static_cast<int>(m_native));
}

std::optional<SystemError> FolderHandle::open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errorFrom(errno);
    if (m_native >= 0)
        ::close(static_cast<int>(m_native));
    m_native = fd;
    m_path = path;
    return std::nullopt;
}

std::optional<SystemError>
FolderHandle::forEachEntry(const EntryVisitor& visit, EntryKinds kinds,
                           const std::function<void()>& meanwhile) const {
    const int folder = static_cast<int>(m_native);
    DirectoryStream stream(folder);
    if (!stream.get())
        return errorFrom(errno);
    DirectoryReadAhead entries(stream.get());
    if (meanwhile)
        meanwhile();
    DirectoryReadAhead::Entry entry;
    while (entries.next(entry)) {
        const std::string_view name = entry.name;
        if (name == "." || name == "..")
            continue;
        EntryView item{name, name[0] == '.', false, entry.identity};
        if (kinds == EntryKinds::Resolved && !item.hidden) {
            if (entry.type == DT_DIR) {
                item.isFolder = true;
            } else if (entry.type == DT_UNKNOWN || entry.type == DT_LNK) {
                int errorCode = 0;
                const Kind kind = kindAt(folder, name.data(), errorCode);
                if (errorCode != 0)
                    return errorFrom(errorCode);
                if (kind == Kind::Vanished)
                    continue;
                item.isFolder = kind == Kind::Folder;
            }
        }
        visit(item);
    }
    return entries.error() == 0 ? std::nullopt
                                : std::optional<SystemError>(errorFrom(entries.error()));
}

std::optional<SystemError> FolderHandle::sync() const {
    if (::fsync(static_cast<int>(m_native)) == 0)
        return std::nullopt;
    // Some file systems cannot sync a folder at all; nothing more can be done there.
    if (errno == EINVAL || errno == EROFS)
        return std::nullopt;
    return errorFrom(errno);
}

bool meansNameTaken(const SystemError& error) {
    return error.code == EEXIST;
}

bool meansNoSuchFile(const SystemError& error) {
    return error.code == ENOENT || error.code == ENOTDIR;
}

SystemError noSuchFile() {
    return errorFrom(ENOENT);
}

SystemError noResources() {
    return errorFrom(EAGAIN);
}

bool isPathSeparator(char c) {
    return c == '/';
}

char pathSeparator() {
    return '/';
}

std::optional<std::string> environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value)
        return std::nullopt;
    return std::string(value);
}

std::vector<std::string_view> systemFolders() {
    return {"/bin/",   "/boot/", "/dev/",  "/etc/", "/lib/", "/lib32/",
            "/lib64/", "/proc/", "/sbin/", "/sys/", "/usr/", "/var/lib/"};
}

} // namespace velmorandi::platform
