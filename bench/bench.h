#pragma once

#include "rename_list.h"
#include "run/journal_store.h"
#include "run/run.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace velmorandi::bench {

// Median wall time of `runs` calls of `measure` in milliseconds; `prepare` runs
// before each call and is not timed.
template <class Prepare, class Measure>
double medianMs(int runs, Prepare&& prepare, Measure&& measure) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        measure();
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void report(const std::string& measure, std::size_t rows, double ms) {
    std::printf("BENCH %s n=%zu ms=%.1f\n", measure.c_str(), rows, ms);
    std::fflush(stdout);
}

// Benchmark files live on a real disk: $VELMORANDI_BENCH_DIR, else /var/tmp.
std::string diskFolder();
std::string makeDiskFolder(const char* label);
// `count` empty files named by namePattern with the file's number (%zu).
void createEmptyFiles(const std::string& folder, const char* namePattern, std::size_t count);

// One listing of the folder, then one rename per file to "x_" and its name,
// nothing kept: the least any tool must do. With `noReplace` each rename
// refuses to replace a file. CheckedAndSynced adds what no tool that keeps a
// folder whole across a crash can skip: the folder read again just before the
// first rename, and synced after the last. Milliseconds; nothing where a
// rename failed.
enum class LoopSafety { Bare, CheckedAndSynced };
std::optional<double> timedRenameLoop(const std::string& folder, bool noReplace,
                                      LoopSafety safety = LoopSafety::Bare);

// A figure of this process from /proc/self/status ("VmRSS:", "VmHWM:"), in megabytes.
double statusMegabytes(const char* field);
// What this program prints when run again as `--child measure folder`, a
// process of its own, started through `wrapper` where given (strace and its
// options); nothing when it fails.
std::optional<std::string> childOutput(const char* measure, const std::string& folder,
                                       const std::vector<std::string>& wrapper = {});

// A rename as the window makes it, its three stages one after the other,
// with its records in the user's folder of records (the benchmark points
// XDG_STATE_HOME at one of its own). True when it completed.
inline bool renameAll(RenameList& list, const std::string& folder) {
    auto prepared = PrepareRename(list, folder);
    if (!std::holds_alternative<RunRequest>(prepared))
        return false;
    const JournalStore records = JournalStore::ofUser();
    RunControl control;
    control.records = &records;
    RunResult result = ExecuteRun(std::get<RunRequest>(std::move(prepared)), control);
    FinishRun(list, folder, result);
    return result.outcome == RunOutcome::Completed;
}

// Each area of the core registers its measures here.
void runRenameListBench();
void runRowOrderBench();
void runDiskBench();
// Fresh processes on a real disk: first load, and the whole job against the bare loop.
void runJobBench(const std::vector<std::size_t>& counts);
int runChildMeasure(const std::string& measure, const std::string& folder);
// Through an SSH file mount set up by bench/run net: the job against a plain
// rename loop, and the ways a rename can keep from replacing a file there.
void runNetBench();
void runNetWaysBench();
int childRenameLoop(const std::string& folder);
// Opening a folder with a hundred records on the mount, the records folder there too.
void measureRecordsOpen();
int childRecordsOpen(const std::string& folder);

} // namespace velmorandi::bench
