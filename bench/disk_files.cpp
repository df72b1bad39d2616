#include "bench.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

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

} // namespace velmorandi::bench
