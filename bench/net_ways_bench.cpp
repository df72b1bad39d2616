// The ways a rename can keep from replacing a file, through the SSH file mount:
// what each costs per file in SFTP round trips and in time, on a folder just
// listed as the program lists it. Beside them, what a stat of a listed file
// costs, at once and once the mount's caches have expired.
#include "bench.h"
#include "net_rig.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace velmorandi::bench {

namespace {

std::size_t filesWanted() {
    const char* chosen = std::getenv("VELMORANDI_NET_WAYS_FILES");
    return chosen ? static_cast<std::size_t>(std::max(1, std::atoi(chosen))) : 1'000;
}

// One file's step in a folder: 0, or the errno it stopped at.
using Step = int (*)(int folder, const char* from, const char* to);

int errorOf(int result) {
    return result == 0 ? 0 : errno;
}

int plainRename(int folder, const char* from, const char* to) {
    return errorOf(::renameat(folder, from, folder, to));
}

int noReplaceRename(int folder, const char* from, const char* to) {
    return errorOf(::renameat2(folder, from, folder, to, RENAME_NOREPLACE));
}

int linkThenUnlink(int folder, const char* from, const char* to) {
    if (::linkat(folder, from, folder, to, 0) != 0)
        return errno;
    return errorOf(::unlinkat(folder, from, 0));
}

int noReplaceElseLink(int folder, const char* from, const char* to) {
    const int error = noReplaceRename(folder, from, to);
    return error == EINVAL ? linkThenUnlink(folder, from, to) : error;
}

// The exclusive create claims the name; the rename then replaces only that.
int placeholderThenRename(int folder, const char* from, const char* to) {
    const int file = ::openat(folder, to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0)
        return errno;
    ::close(file);
    return plainRename(folder, from, to);
}

// A symbolic link claims the name in one request: the server refuses a taken name.
int symlinkThenRename(int folder, const char* from, const char* to) {
    if (::symlinkat(from, folder, to) != 0)
        return errno;
    return plainRename(folder, from, to);
}

int sizeAndTime(int folder, const char* name) {
    struct statx info {};
    return errorOf(
        ::statx(folder, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_SIZE | STATX_MTIME, &info));
}

int linkUnlinkThenStat(int folder, const char* from, const char* to) {
    const int error = linkThenUnlink(folder, from, to);
    return error ? error : sizeAndTime(folder, to);
}

int statListed(int folder, const char* from, const char*) {
    return sizeAndTime(folder, from);
}

struct Way {
    const char* name;
    Step step;
    int waitSeconds; // between the listing and the first step
    const char* note;
    bool listAgain = false; // after the wait, as part of the measure
};

// sshfs keeps what a listing told it for 20 s by default; the kernel keeps
// names and attributes for 1 s.
constexpr Way kWays[] = {
    {"plain-rename", plainRename, 0, "may replace a file: yardstick only"},
    {"noreplace-rename", noReplaceRename, 0, "never replaces"},
    {"noreplace-else-link-unlink", noReplaceElseLink, 0,
     "never replaces; tries the no-replace rename on every file first"},
    {"link-unlink", linkThenUnlink, 0, "never replaces"},
    {"placeholder-rename", placeholderThenRename, 0,
     "replaces only its own empty placeholder, unless another client removes that first"},
    {"symlink-placeholder-rename", symlinkThenRename, 0,
     "replaces only its own link placeholder, unless another client removes that first"},
    {"link-unlink-statx", linkUnlinkThenStat, 0,
     "never replaces; then reads the new name's size and time"},
    {"statx-listed", statListed, 0, "no rename: size and time of each listed file"},
    {"statx-listed-after-2s", statListed, 2, "the same, 2 s after the listing"},
    {"statx-listed-after-21s", statListed, 21, "the same, 21 s after the listing"},
    {"statx-listed-after-21s-listed-again", statListed, 21,
     "the same, 21 s after the listing, but listed again first", true},
    {"link-unlink-after-21s", linkThenUnlink, 21, "never replaces; 21 s after the listing"},
};

std::vector<std::string> listNames(DIR* stream) {
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(stream))
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    return names;
}

DIR* openListing(const std::string& path) {
    DIR* stream = ::opendir(path.c_str());
    if (!stream) {
        std::perror(path.c_str());
        std::exit(1);
    }
    return stream;
}

std::string failuresText(const std::map<int, std::size_t>& failures, std::size_t files) {
    std::string text;
    for (const auto& [error, times] : failures) {
        char part[160];
        std::snprintf(part, sizeof part, "%s%zu of %zu failed: %s (%s)", text.empty() ? "" : "; ",
                      times, files, strerrorname_np(error), std::strerror(error));
        text += part;
    }
    return text;
}

struct WayFigures {
    std::size_t files = 0;
    double ms = 0;
    SftpCounts requests;
    std::uint64_t listingRequests = 0;
    std::map<int, std::size_t> failures; // errno: how many files
};

void report(const NetRig& rig, const Way& way, const WayFigures& figures) {
    const double files = static_cast<double>(figures.files);
    std::printf("BENCH net-way-%s n=%zu ms=%.1f ms-per-file=%.2f rt-per-file=%.2f "
                "listing-rt=%llu options=%s\n",
                way.name, figures.files, figures.ms, figures.ms / files,
                static_cast<double>(totalRequests(figures.requests)) / files,
                static_cast<unsigned long long>(figures.listingRequests), rig.mountOptions.c_str());
    std::printf("  requests per file: %s\n",
                requestsPerFile(figures.requests, figures.files).c_str());
    std::printf("  %s%s%s\n", way.note, figures.failures.empty() ? "" : "; ",
                failuresText(figures.failures, figures.files).c_str());
    std::fflush(stdout);
}

// Lists a fresh folder, then times the way on each of its files and counts
// the requests that takes; the listing is counted apart.
WayFigures measureWay(const NetRig& rig, const Way& way, std::size_t count) {
    const RigFolder folder = makeRigFolder(rig, "way", count);
    WayFigures figures;
    const SftpCounts beforeListing = readCounts(rig);
    DIR* stream = openListing(folder.mounted);
    const std::vector<std::string> names = listNames(stream);
    figures.files = names.size();
    figures.listingRequests = totalRequests(countsSince(rig, beforeListing));
    std::this_thread::sleep_for(std::chrono::seconds(way.waitSeconds));

    const int handle = ::dirfd(stream);
    std::string target;
    const SftpCounts before = readCounts(rig);
    const auto start = std::chrono::steady_clock::now();
    if (way.listAgain) {
        DIR* again = openListing(folder.mounted);
        listNames(again);
        ::closedir(again);
    }
    for (const std::string& name : names) {
        target = "x_" + name;
        if (const int error = way.step(handle, name.c_str(), target.c_str()))
            ++figures.failures[error];
    }
    figures.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    figures.requests = countsSince(rig, before);
    ::closedir(stream);
    removeRigFolder(folder);
    return figures;
}

} // namespace

void runNetWaysBench() {
    const std::optional<NetRig> rig = netRigFromEnvironment();
    if (!rig) {
        std::fprintf(stderr, "net-ways: run it as bench/run net-ways, which sets up the mount\n");
        std::exit(2);
    }
    std::printf("net-ways: sshfs to sshd on 127.0.0.1, %.1f ms added each way; mount options: "
                "%s\n",
                rig->delayMs, rig->mountOptions.c_str());
    measureRoundTrip(*rig);
    for (const Way& way : kWays)
        report(*rig, way, measureWay(*rig, way, filesWanted()));
}

} // namespace velmorandi::bench
