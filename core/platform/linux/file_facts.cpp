#include "platform/file_facts.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>

namespace velmorandi::platform {

// A directory entry of Linux holds no more than a name and a type.
bool listingCarriesFacts() {
    return false;
}

FileFacts factsOf(const FolderHandle& folder, std::string_view name) {
    const std::string path(name);
    struct statx found {};
    if (::statx(static_cast<int>(folder.native()), path.c_str(), AT_NO_AUTOMOUNT,
                STATX_TYPE | STATX_SIZE | STATX_MTIME, &found) != 0 ||
        S_ISDIR(found.stx_mode))
        return {};
    const std::int64_t modified =
        static_cast<std::int64_t>(found.stx_mtime.tv_sec) * 1'000'000'000 + found.stx_mtime.tv_nsec;
    return {modified, found.stx_size};
}

} // namespace velmorandi::platform
