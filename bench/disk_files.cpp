#include "bench.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmorandi::bench {

// Not /tmp, which is memory on many systems.
std::string diskFolder() {
    const char* chosen = std::getenv("VELMORANDI_BENCH_DIR");
    return chosen && *chosen ? chosen : "/var/tmp";
}

std::string makeDiskFolder(const char* label) {
    std::string pattern = diskFolder();
    pattern.append("/velmorandi-").append(label).append("-XXXXXX");
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

void createEmptyFiles(const std::string& folder, const char* namePattern, std::size_t count) {
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    char name[64];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, namePattern, i);
        const int file = ::openat(handle, name, O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (file < 0) {
            std::perror(name);
            std::exit(1);
        }
        ::close(file);
    }
    ::close(handle);
}

namespace {

// A second look at the folder, as a check just before the first rename makes it.
bool readAgain(const std::string& folder) {
    DIR* stream = ::opendir(folder.c_str());
    if (!stream)
        return false;
    while (::readdir(stream)) {
    }
    ::closedir(stream);
    return true;
}

} // namespace

std::optional<double> timedRenameLoop(const std::string& folder, bool noReplace,
                                      LoopSafety safety) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> names;
    DIR* stream = ::opendir(folder.c_str());
    if (!stream)
        return std::nullopt;
    while (const dirent* entry = ::readdir(stream))
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    const int handle = ::dirfd(stream);
    const bool guarded = safety == LoopSafety::CheckedAndSynced;
    if (guarded && !readAgain(folder)) {
        ::closedir(stream);
        return std::nullopt;
    }
    std::string target;
    for (const std::string& name : names) {
        target = "x_" + name;
        const int result =
            noReplace ? ::renameat2(handle, name.c_str(), handle, target.c_str(), RENAME_NOREPLACE)
                      : ::renameat(handle, name.c_str(), handle, target.c_str());
        if (result != 0) {
            std::perror("rename");
            ::closedir(stream);
            return std::nullopt;
        }
    }
    const bool synced = !guarded || ::fsync(handle) == 0;
    ::closedir(stream);
    if (!synced)
        return std::nullopt;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace velmorandi::bench
