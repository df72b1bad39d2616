#include "platform/private_folder.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace velmorandi::platform {
namespace {

bool isPrivate(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

std::optional<std::string> sessionRuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    // The session names this folder itself, so a link there is its own choice.
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &info) == 0 && isPrivate(info))
        return std::string(runtime);
    return std::nullopt;
}

std::optional<std::string> ownTemporaryFolder() {
    const char* temporary = std::getenv("TMPDIR");
    std::string folder = temporary != nullptr && temporary[0] == '/' ? temporary : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.back() != '/')
        folder += '/';
    folder += "velmorandi-" + std::to_string(::geteuid());
    // Any user may have taken this name first: only a real folder of our own,
    // closed to everyone else, will do, never what a link points to.
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) == 0 && isPrivate(info))
        return folder;
    return std::nullopt;
}

} // namespace

std::optional<std::string> privateFolder() {
    if (std::optional<std::string> runtime = sessionRuntimeFolder())
        return runtime;
    return ownTemporaryFolder();
}

} // namespace velmorandi::platform
