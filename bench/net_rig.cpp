#include "net_rig.h"

#include "bench.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace velmorandi::bench {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The requests of SFTP version 3, by packet type; the gaps are not requests.
constexpr std::array<const char*, 21> kRequestNames = {
    nullptr, "INIT",  nullptr,    "OPEN",     "CLOSE",   "READ",     "WRITE",
    "LSTAT", "FSTAT", "SETSTAT",  "FSETSTAT", "OPENDIR", "READDIR",  "REMOVE",
    "MKDIR", "RMDIR", "REALPATH", "STAT",     "RENAME",  "READLINK", "SYMLINK",
};

std::string typeName(std::size_t type) {
    if (type < kRequestNames.size() && kRequestNames[type])
        return kRequestNames[type];
    return "type " + std::to_string(type);
}

void appendShare(std::string& text, const std::string& kind, std::uint64_t requests,
                 std::size_t files) {
    if (requests == 0)
        return;
    const double perFile = static_cast<double>(requests) / static_cast<double>(files);
    char share[96];
    if (perFile < 0.005)
        std::snprintf(share, sizeof share, "%s%s <0.01", text.empty() ? "" : ", ", kind.c_str());
    else
        std::snprintf(share, sizeof share, "%s%s %.2f", text.empty() ? "" : ", ", kind.c_str(),
                      perFile);
    text += share;
}

} // namespace

std::optional<NetRig> netRigFromEnvironment() {
    NetRig rig{environment("VELMORANDI_NET_SERVED"), environment("VELMORANDI_NET_MOUNTED"),
               environment("VELMORANDI_NET_COUNTS"), environment("VELMORANDI_NET_OPTIONS"),
               std::atof(environment("VELMORANDI_NET_DELAY_MS").c_str())};
    if (rig.servedRoot.empty() || rig.mountedRoot.empty() || rig.countsFile.empty())
        return std::nullopt;
    if (rig.mountOptions.empty())
        rig.mountOptions = "default";
    return rig;
}

RigFolder makeRigFolder(const NetRig& rig, const char* label, std::size_t count) {
    std::string served = rig.servedRoot + "/" + label + "-XXXXXX";
    if (!::mkdtemp(served.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    createEmptyFiles(served, "Photo_%010zu.jpg", count);
    const std::string leaf = served.substr(served.rfind('/'));
    return {served, rig.mountedRoot + leaf};
}

void removeRigFolder(const RigFolder& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder.served, ignored);
}

SftpCounts readCounts(const NetRig& rig) {
    SftpCounts counts;
    const int file = ::open(rig.countsFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0 || ::pread(file, &counts, sizeof counts, 0) != sizeof counts) {
        std::fprintf(stderr, "no SFTP request counts in %s\n", rig.countsFile.c_str());
        std::exit(1);
    }
    ::close(file);
    return counts;
}

SftpCounts countsSince(const NetRig& rig, const SftpCounts& before) {
    SftpCounts counts = readCounts(rig);
    for (std::size_t type = 0; type < counts.byType.size(); ++type)
        counts.byType[type] -= before.byType[type];
    for (std::size_t slot = 0; slot < counts.byExtension.size(); ++slot)
        counts.byExtension[slot] -= before.byExtension[slot];
    return counts;
}

std::uint64_t totalRequests(const SftpCounts& counts) {
    std::uint64_t total = 0;
    for (const std::uint64_t requests : counts.byType)
        total += requests;
    return total;
}

std::string requestsPerFile(const SftpCounts& counts, std::size_t files) {
    std::string text;
    for (std::size_t type = 0; type < counts.byType.size(); ++type) {
        if (type == kSftpExtended)
            continue;
        appendShare(text, typeName(type), counts.byType[type], files);
    }
    for (std::size_t slot = 0; slot < counts.byExtension.size(); ++slot) {
        std::string name(kSftpExtensions[slot]);
        name = name.substr(0, name.find('@'));
        appendShare(text, name, counts.byExtension[slot], files);
    }
    return text.empty() ? "none" : text;
}

void measureRoundTrip(const NetRig& rig) {
    constexpr int kLookups = 300;
    const RigFolder folder = makeRigFolder(rig, "round-trip", 0);
    const int handle = ::open(folder.mounted.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const SftpCounts before = readCounts(rig);
    const auto start = std::chrono::steady_clock::now();
    struct stat info {};
    char name[32];
    for (int i = 0; i < kLookups; ++i) {
        std::snprintf(name, sizeof name, "absent-%d", i);
        ::fstatat(handle, name, &info, AT_SYMLINK_NOFOLLOW);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const std::uint64_t requests = totalRequests(countsSince(rig, before));
    ::close(handle);
    removeRigFolder(folder);
    std::printf("BENCH net-round-trip n=%d ms=%.1f requests=%llu ms-per-request=%.2f "
                "delay-each-way-ms=%.1f\n",
                kLookups, ms, static_cast<unsigned long long>(requests),
                requests ? ms / static_cast<double>(requests) : 0.0, rig.delayMs);
    std::fflush(stdout);
}

} // namespace velmorandi::bench
