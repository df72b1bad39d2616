#pragma once

// What the benchmark knows of the network rig bench/run net sets up: a folder
// served by sshd, the same folder mounted through sshfs behind a delay proxy,
// and the file where every SFTP request the mount makes is counted.

#include "sftp_counts.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace velmorandi::bench {

struct NetRig {
    std::string servedRoot;  // the served folder, as a local path
    std::string mountedRoot; // the same folder through the mount
    std::string countsFile;
    std::string mountOptions; // as given to sshfs, for the printed lines
    double delayMs = 0;       // added each way
};

// The rig bench/run net describes in the environment; nothing outside it.
std::optional<NetRig> netRigFromEnvironment();

// `count` empty files of 20-byte names, made on the server's side (fast, and
// new to the mount), seen through the mount at `mounted`.
struct RigFolder {
    std::string served;
    std::string mounted;
};
RigFolder makeRigFolder(const NetRig& rig, const char* label, std::size_t count);
void removeRigFolder(const RigFolder& folder);

SftpCounts readCounts(const NetRig& rig);
SftpCounts countsSince(const NetRig& rig, const SftpCounts& before);
std::uint64_t totalRequests(const SftpCounts& counts);
// "LSTAT 1.00, hardlink 1.00, REMOVE 1.00": requests per file by kind.
std::string requestsPerFile(const SftpCounts& counts, std::size_t files);

// What one SFTP round trip costs through the mount: lookups of absent names,
// each one request, none of them cached.
void measureRoundTrip(const NetRig& rig);

} // namespace velmorandi::bench
