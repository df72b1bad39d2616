// One user action on a real disk: open a folder, Add String, Rename; beside the
// least any tool must do for it. Each measure runs in a process of its own, so
// the first load is cold for the collator and the peak memory is this measure's.
#include "bench.h"

#include "folder_loader.h"
#include "rename_list.h"
#include "transforms/operations.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmorandi::bench {

namespace {

constexpr int kJobRuns = 5;
constexpr int kFirstLoadRuns = 3;

// `count` empty files of 20-byte names.
std::string filledFolder(const char* label, std::size_t count) {
    const std::string path = makeDiskFolder(label);
    createEmptyFiles(path, "Photo_%010zu.jpg", count);
    return path;
}

void removeFolder(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

double peakMegabytes() {
    return statusMegabytes("VmHWM:");
}

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The measures a child process runs; each prints "ms peak-MB".
int childLoad(const std::string& folder) {
    const double before = statusMegabytes("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    RenameList list;
    if (LoadFolder(list, folder).error)
        return 1;
    const double ms = msSince(start);
    // What the loaded list keeps, once the load's own buffers are gone.
    std::printf("%.1f %.1f %.1f\n", ms, peakMegabytes(), statusMegabytes("VmRSS:") - before);
    return list.empty() ? 1 : 0;
}

int childJob(const std::string& folder) {
    const auto start = std::chrono::steady_clock::now();
    RenameList list;
    if (LoadFolder(list, folder).error)
        return 1;
    OperationInputs add;
    add.addText = "x_";
    add.addSide = Side::Left;
    ApplyOperation(list, Operation::AddString, add);
    if (!renameAll(list, folder))
        return 1;
    const double ms = msSince(start);
    std::printf("%.1f %.1f\n", ms, peakMegabytes());
    return 0;
}

// The bare loop: one readdir, one renameat2 per file, nothing kept; or with
// the read before and the sync after that keep a folder whole across a crash.
int childJobLoop(const std::string& folder, LoopSafety safety) {
    const std::optional<double> ms = timedRenameLoop(folder, true, safety);
    if (!ms)
        return 1;
    std::printf("%.1f %.1f\n", *ms, peakMegabytes());
    return 0;
}

struct ChildFigures {
    double ms = 0;
    double peakMb = 0;
    double keptMb = -1; // loads only
};

ChildFigures runChild(const char* measure, const std::string& folder) {
    // What earlier measures left to write (a million renamed files' times,
    // the files just made) is written now, not during this measure.
    ::sync();
    const std::optional<std::string> text = childOutput(measure, folder);
    ChildFigures figures;
    if (!text || std::sscanf(text->c_str(), "%lf %lf %lf", &figures.ms, &figures.peakMb,
                             &figures.keptMb) < 2) {
        std::fprintf(stderr, "%s on %s failed\n", measure, folder.c_str());
        std::exit(1);
    }
    return figures;
}

ChildFigures median(std::vector<ChildFigures> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const ChildFigures& a, const ChildFigures& b) { return a.ms < b.ms; });
    return runs[runs.size() / 2];
}

void reportFigures(const char* measure, std::size_t count, const ChildFigures& figures) {
    std::printf("BENCH %s n=%zu ms=%.1f peak-mb=%.1f", measure, count, figures.ms, figures.peakMb);
    if (figures.keptMb >= 0)
        std::printf(" kept-mb=%.1f bytes-per-row=%.0f", figures.keptMb,
                    figures.keptMb * 1024 * 1024 / static_cast<double>(count));
    std::printf("\n");
    std::fflush(stdout);
}

void measureFirstLoad(std::size_t count) {
    const std::string folder = filledFolder("load", count);
    std::vector<ChildFigures> runs;
    for (int run = 0; run < kFirstLoadRuns; ++run)
        runs.push_back(runChild("load", folder));
    removeFolder(folder);
    reportFigures("first-load", count, median(runs));
}

// The measures a job is held against, each with a folder of its own.
struct JobMeasure {
    const char* name;
    std::string folder;
    std::vector<ChildFigures> runs;
};

// Runs take turns, so all see the same load of the machine.
void measureJob(std::size_t count) {
    std::vector<JobMeasure> measures;
    for (const char* name : {"job", "job-baseline", "job-floor"})
        measures.push_back({name, filledFolder(name, count), {}});
    for (int run = 0; run < kJobRuns; ++run) {
        // Each goes first in turn: none always follows another's writes.
        for (std::size_t i = 0; i < measures.size(); ++i) {
            JobMeasure& measure = measures[(i + run) % measures.size()];
            measure.runs.push_back(runChild(measure.name, measure.folder));
        }
        std::printf("  run %d: job %.0f ms, baseline %.0f ms, floor %.0f ms\n", run + 1,
                    measures[0].runs.back().ms, measures[1].runs.back().ms,
                    measures[2].runs.back().ms);
    }
    std::vector<ChildFigures> medians;
    for (JobMeasure& measure : measures) {
        removeFolder(measure.folder);
        medians.push_back(median(measure.runs));
        reportFigures(measure.name, count, medians.back());
    }
    std::printf("BENCH job-ratio n=%zu ratio=%.2f\n", count, medians[0].ms / medians[1].ms);
    // What the read before and the sync after cost alone: the least a job can come to.
    std::printf("BENCH job-floor-ratio n=%zu ratio=%.2f\n", count, medians[2].ms / medians[1].ms);
    std::fflush(stdout);
}

// Run journals go to a state folder of the benchmark's own, on the same disk.
std::string privateStateFolder() {
    const std::string path = makeDiskFolder("state");
    ::setenv("XDG_STATE_HOME", path.c_str(), 1);
    return path;
}

} // namespace

int runChildMeasure(const std::string& measure, const std::string& folder) {
    if (measure == "load")
        return childLoad(folder);
    if (measure == "job")
        return childJob(folder);
    if (measure == "job-baseline")
        return childJobLoop(folder, LoopSafety::Bare);
    if (measure == "job-floor")
        return childJobLoop(folder, LoopSafety::CheckedAndSynced);
    if (measure == "rename-loop")
        return childRenameLoop(folder);
    if (measure == "records-open")
        return childRecordsOpen(folder);
    return 2;
}

void runJobBench(const std::vector<std::size_t>& counts) {
    const std::string state = privateStateFolder();
    for (const std::size_t count : counts) {
        measureFirstLoad(count);
        measureJob(count);
    }
    removeFolder(state);
}

} // namespace velmorandi::bench
