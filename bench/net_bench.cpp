// The whole job through an SSH file mount with real latency, beside the least
// any tool must do there, both counted in SFTP round trips. Each measure runs
// in a process of its own on a folder the mount has never seen; run journals
// go to the rig's own state folder (XDG_STATE_HOME), which goes with the rig.
#include "bench.h"
#include "net_rig.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <vector>

namespace velmorandi::bench {

namespace {

// VELMORANDI_NET_FILES="500 2000" chooses other sizes; "none", none.
std::vector<std::size_t> fileCountsWanted() {
    const char* chosen = std::getenv("VELMORANDI_NET_FILES");
    if (!chosen)
        return {2'000, 10'000};
    std::vector<std::size_t> counts;
    for (const char* at = chosen; *at;) {
        char* end = nullptr;
        const unsigned long count = std::strtoul(at, &end, 10);
        if (end == at) {
            ++at;
            continue;
        }
        if (count > 0)
            counts.push_back(count);
        at = end;
    }
    return counts;
}

int runsWanted() {
    const char* chosen = std::getenv("VELMORANDI_NET_RUNS");
    return chosen ? std::max(1, std::atoi(chosen)) : 3;
}

struct MountRun {
    double ms = 0;
    SftpCounts requests;
};

double roundTripsPerFile(const MountRun& run, std::size_t files) {
    return static_cast<double>(totalRequests(run.requests)) / static_cast<double>(files);
}

MountRun runThroughMount(const NetRig& rig, const char* measure, std::size_t count) {
    const RigFolder folder = makeRigFolder(rig, measure, count);
    const SftpCounts before = readCounts(rig);
    const std::optional<std::string> text = childOutput(measure, folder.mounted);
    MountRun run;
    run.requests = countsSince(rig, before);
    removeRigFolder(folder);
    if (!text || std::sscanf(text->c_str(), "%lf", &run.ms) != 1) {
        std::fprintf(stderr, "%s through the mount failed\n", measure);
        std::exit(1);
    }
    return run;
}

MountRun median(std::vector<MountRun> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const MountRun& a, const MountRun& b) { return a.ms < b.ms; });
    return runs[runs.size() / 2];
}

void report(const char* measure, std::size_t count, const MountRun& run) {
    std::printf("BENCH %s n=%zu ms=%.1f rt-per-file=%.2f\n", measure, count, run.ms,
                roundTripsPerFile(run, count));
    std::printf("  requests per file: %s\n", requestsPerFile(run.requests, count).c_str());
}

// Runs alternate and take turns at going first, so both see the same machine.
void measureJobAndLoop(const NetRig& rig, std::size_t count, int runs) {
    std::vector<MountRun> jobs;
    std::vector<MountRun> loops;
    for (int run = 0; run < runs; ++run) {
        if (run % 2 == 0) {
            jobs.push_back(runThroughMount(rig, "job", count));
            loops.push_back(runThroughMount(rig, "rename-loop", count));
        } else {
            loops.push_back(runThroughMount(rig, "rename-loop", count));
            jobs.push_back(runThroughMount(rig, "job", count));
        }
        std::printf("  run %d: job %.0f ms %.2f rt/file, rename loop %.0f ms %.2f rt/file\n",
                    run + 1, jobs.back().ms, roundTripsPerFile(jobs.back(), count), loops.back().ms,
                    roundTripsPerFile(loops.back(), count));
        std::fflush(stdout);
    }
    const MountRun job = median(jobs);
    const MountRun loop = median(loops);
    report("net-job", count, job);
    report("net-rename-loop", count, loop);
    std::printf("BENCH net-ratio n=%zu ratio=%.2f rt-ratio=%.2f\n", count, job.ms / loop.ms,
                roundTripsPerFile(job, count) / roundTripsPerFile(loop, count));
    std::fflush(stdout);
}

} // namespace

// What a shell loop of mv would do, in C: one listing, then a plain rename per
// file. It may replace a file, which is why it is only the yardstick.
int childRenameLoop(const std::string& folder) {
    const std::optional<double> ms = timedRenameLoop(folder, false);
    if (!ms)
        return 1;
    std::printf("%.1f\n", *ms);
    return 0;
}

void runNetBench() {
    const std::optional<NetRig> rig = netRigFromEnvironment();
    if (!rig) {
        std::fprintf(stderr, "net: run it as bench/run net, which sets up the mount\n");
        std::exit(2);
    }
    std::printf("net: sshfs to sshd on 127.0.0.1, %.1f ms added each way; mount options: %s\n",
                rig->delayMs, rig->mountOptions.c_str());
    measureRoundTrip(*rig);
    measureRecordsOpen();
    for (const std::size_t count : fileCountsWanted())
        measureJobAndLoop(*rig, count, runsWanted());
}

} // namespace velmorandi::bench
