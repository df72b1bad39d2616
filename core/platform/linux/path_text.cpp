#include "platform/path_text.h"

#include <cerrno>
#include <unistd.h>

namespace velmorandi::platform {

bool samePathText(std::string_view a, std::string_view b) {
    return a == b;
}

std::string nativePath(std::string_view path) {
    return std::string(path);
}

bool isAbsolutePath(std::string_view path) {
    return path.starts_with('/');
}

std::string networkShareRoot(std::string_view) {
    return {};
}

std::string absolutePath(std::string_view path) {
    std::error_code error;
    std::filesystem::path full =
        std::filesystem::absolute(std::filesystem::path(path), error).lexically_normal();
    if (error)
        return std::string(path);
    // "photos/" names the folder photos, not an empty name inside it.
    if (!full.has_filename() && full.has_relative_path())
        full = full.parent_path();
    return full.native();
}

std::string currentFolder() {
    std::string folder(256, '\0');
    while (!::getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE)
            return {};
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    return folder;
}

std::filesystem::path fileSystemPath(const std::string& bytes) {
    return std::filesystem::path(bytes);
}

std::string pathBytes(const std::filesystem::path& path) {
    return path.native();
}

} // namespace velmorandi::platform
