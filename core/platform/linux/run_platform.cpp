#include "platform/run_platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <linux/fs.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace velmorandi::platform {
namespace {

SystemError errorFrom(int code) {
    return SystemError{code, std::strerror(code)};
}

int handleOf(const FolderHandle& folder) {
    return static_cast<int>(folder.native());
}

// Magic numbers of statfs(2), spelled out: not every C library names them all.
constexpr unsigned long kMsdos = 0x4d44;
constexpr unsigned long kExfat = 0x2011BAB0;
constexpr unsigned long kNtfs = 0x5346544e;
constexpr unsigned long kCifs = 0xFF534D42;
constexpr unsigned long kSmb2 = 0xFE534D42;
constexpr unsigned long kSmb = 0x517B;
constexpr unsigned long kHfsPlus = 0x482b;
constexpr unsigned long kFuse = 0x65735546;
constexpr unsigned long kExt = 0xEF53;
constexpr unsigned long kXfs = 0x58465342;
constexpr unsigned long kBtrfs = 0x9123683E;
constexpr unsigned long kTmpfs = 0x01021994;
constexpr unsigned long kF2fs = 0xF2F52010;
constexpr unsigned long kBcachefs = 0xca451a4e;
constexpr unsigned long kZfs = 0x2fc12fc1;
constexpr unsigned long kCasefoldFlag = 0x40000000; // FS_CASEFOLD_FL

// The type a FUSE mount names in the mount table ("fuse.exfat", "fuseblk", ...).
std::string fuseMountType(dev_t device) {
    std::ifstream table("/proc/self/mountinfo");
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string id, parent, numbers;
        fields >> id >> parent >> numbers;
        if (numbers != wanted)
            continue;
        const std::size_t separator = line.find(" - ");
        if (separator == std::string::npos)
            return {};
        std::istringstream rest(line.substr(separator + 3));
        std::string type;
        rest >> type;
        return type;
    }
    return {};
}

// fuseblk serves block devices: in practice NTFS and exFAT drivers.
bool fuseIgnoresCase(const std::string& type) {
    if (type == "fuseblk")
        return true;
    for (const char* name : {"exfat", "ntfs", "fat", "msdos"})
        if (type.find(name) != std::string::npos)
            return true;
    return false;
}

bool hasCasefoldFlag(int folder) {
    long flags = 0;
    return ::ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0 &&
           (static_cast<unsigned long>(flags) & kCasefoldFlag) != 0;
}

std::optional<SystemError> syncFolderOf(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errorFrom(errno);
    const int result = ::fsync(fd);
    const int code = errno;
    ::close(fd);
    if (result != 0 && code != EINVAL && code != EROFS)
        return errorFrom(code);
    return std::nullopt;
}

std::optional<SystemError> writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errorFrom(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return std::nullopt;
}

std::optional<SystemError> makePrivateFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return errorFrom(errno);
        if (slash == std::string::npos)
            return std::nullopt;
    }
}

// Sends a piece on its way to the disk at once, so that the sync at the end
// finds most of a large file written. Only a hint; the sync is what counts.
void startWriteBack(int fd, off_t offset, off_t size) {
#if defined(SYNC_FILE_RANGE_WRITE)
    ::sync_file_range(fd, offset, size, SYNC_FILE_RANGE_WRITE);
#else
    (void)fd, (void)offset, (void)size;
#endif
}

// Each piece is sent on its way to the disk as soon as it is written.
std::optional<SystemError> writePieces(int fd, const PieceSource& pieces) {
    off_t offset = ::lseek(fd, 0, SEEK_END);
    for (std::string_view piece = pieces(); !piece.empty(); piece = pieces()) {
        if (auto error = writeAll(fd, piece))
            return error;
        startWriteBack(fd, offset, static_cast<off_t>(piece.size()));
        offset += static_cast<off_t>(piece.size());
    }
    return std::nullopt;
}

} // namespace

FileSystemTraits describeFileSystem(const FolderHandle& folder) {
    FileSystemTraits traits;
    struct statfs info {};
    if (::fstatfs(handleOf(folder), &info) != 0)
        return traits;
    const auto magic = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
    switch (magic) {
    case kMsdos:
    case kExfat:
    case kNtfs:
    case kCifs:
    case kSmb2:
    case kSmb:
    case kHfsPlus:
        traits.ignoresCase = true;
        break;
    case kFuse: {
        struct stat status {};
        if (::fstat(handleOf(folder), &status) == 0)
            traits.ignoresCase = fuseIgnoresCase(fuseMountType(status.st_dev));
        break;
    }
    case kExt:
    case kXfs:
    case kBtrfs:
    case kTmpfs:
    case kF2fs:
    case kBcachefs:
    case kZfs:
        traits.stableIdentities = true;
        traits.ignoresCase = hasCasefoldFlag(handleOf(folder));
        break;
    default:
        break;
    }
    return traits;
}

std::optional<SystemError> folderIdentity(const FolderHandle& folder, FileIdentity& identity) {
    struct stat status {};
    if (::fstat(handleOf(folder), &status) != 0)
        return errorFrom(errno);
    identity = {static_cast<std::uint64_t>(status.st_dev),
                static_cast<std::uint64_t>(status.st_ino)};
    return std::nullopt;
}

std::optional<SystemError> exchangeNames(const FolderHandle& folder, const std::string& a,
                                         const std::string& b) {
    const int fd = handleOf(folder);
#if defined(RENAME_EXCHANGE)
    const int result = ::renameat2(fd, a.c_str(), fd, b.c_str(), RENAME_EXCHANGE);
#else
    constexpr unsigned exchange = 2u;
    const int result =
        static_cast<int>(::syscall(SYS_renameat2, fd, a.c_str(), fd, b.c_str(), exchange));
#endif
    if (result != 0)
        return errorFrom(errno);
    return std::nullopt;
}

void removeEmptyFile(const FolderHandle& folder, const std::string& name) {
    struct stat status {};
    if (::fstatat(handleOf(folder), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode) && status.st_size == 0)
        ::unlinkat(handleOf(folder), name.c_str(), 0);
}

std::optional<SystemError> stateFolder(std::string& path) {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') {
        path = std::string(state) + "/velmorandi";
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return SystemError{ENOENT, "No home folder is set"};
        path = std::string(home) + "/.local/state/velmorandi";
    }
    return makePrivateFolders(path);
}

std::optional<SystemError> createDurably(const std::string& folder, const std::string& name,
                                         const PieceSource& pieces) {
    const std::string path = folder + "/" + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errorFrom(errno);
    std::optional<SystemError> error = writePieces(fd, pieces);
    if (!error && ::fsync(fd) != 0)
        error = errorFrom(errno);
    ::close(fd);
    if (!error)
        error = syncFolderOf(folder);
    if (error)
        ::unlink(path.c_str());
    return error;
}

std::optional<SystemError> appendDurably(const std::string& path, const PieceSource& pieces) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        return errorFrom(errno);
    std::optional<SystemError> error = writePieces(fd, pieces);
    if (!error && ::fdatasync(fd) != 0)
        error = errorFrom(errno);
    ::close(fd);
    return error;
}

} // namespace velmorandi::platform
