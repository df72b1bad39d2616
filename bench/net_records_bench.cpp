// Opening a folder where the user's home, and with it the folder of records,
// is on the network drive: the records of a hundred folders' runs, one of them
// the folder's own. Counted are the SFTP requests, the system calls (strace)
// and the time of the program's start (its recovery, which reads every
// record), then of each of three opens of the folder in the same process.
#include "bench.h"
#include "net_rig.h"

#include "folder_loader.h"
#include "session/folder_session.h"
#include "transforms/operations.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmorandi::bench {

namespace {

constexpr int kOpens = 4; // the start, then three opens
constexpr std::size_t kRecords = 100;

// A system call strace shows, and nothing else makes: where an open begins and ends.
void markInTrace(const char* what, int open) {
    char path[64];
    std::snprintf(path, sizeof path, "/velmorandi-bench-%s-%d", what, open);
    ::faccessat(AT_FDCWD, path, F_OK, 0);
}

// One rename of every file of `folder` to "x_" and its name, recorded in `records`.
void renameRecorded(const std::string& folder, const JournalStore& records) {
    RenameList list;
    if (LoadFolder(list, folder).error) {
        std::fprintf(stderr, "records: %s cannot be listed\n", folder.c_str());
        std::exit(1);
    }
    OperationInputs add;
    add.addText = "x_";
    add.addSide = Side::Left;
    ApplyOperation(list, Operation::AddString, add);
    auto prepared = PrepareRename(list, folder);
    RunControl control;
    control.records = &records;
    if (!std::holds_alternative<RunRequest>(prepared) ||
        ExecuteRun(std::get<RunRequest>(std::move(prepared)), control).outcome !=
            RunOutcome::Completed) {
        std::fprintf(stderr, "records: the rename of %s failed\n", folder.c_str());
        std::exit(1);
    }
}

// The home on the server's side, its records made there (fast); the last run
// is the opened folder's own, made through the mount.
struct RecordsHome {
    std::string served;
    std::string mounted;
};

RecordsHome makeRecordsHome(const NetRig& rig, const RigFolder& opened) {
    const RigFolder home = makeRigFolder(rig, "records-home", 0);
    const JournalStore records = JournalStore::at(home.served + "/state/velmorandi");
    if (records.problem()) {
        std::fprintf(stderr, "records: no folder of records at %s\n", home.served.c_str());
        std::exit(1);
    }
    for (std::size_t i = 0; i + 1 < kRecords; ++i) {
        const std::string folder = home.served + "/folder-" + std::to_string(i);
        std::filesystem::create_directory(folder);
        createEmptyFiles(folder, "Photo_%010zu.jpg", 3);
        renameRecorded(folder, records);
    }
    renameRecorded(opened.mounted, records);
    return {home.served, home.mounted};
}

// System calls strace saw between the marks of each open.
std::vector<std::size_t> callsPerOpen(const std::string& log) {
    std::vector<std::size_t> calls(kOpens, 0);
    std::ifstream lines(log);
    int open = -1;
    for (std::string line; std::getline(lines, line);) {
        for (int i = 0; i < kOpens; ++i) {
            if (line.find("/velmorandi-bench-begin-" + std::to_string(i) + "\"") !=
                std::string::npos)
                open = i;
            if (line.find("/velmorandi-bench-end-" + std::to_string(i) + "\"") != std::string::npos)
                open = -1;
        }
        const bool call = line.find("+++") == std::string::npos &&
                          line.find("---") == std::string::npos &&
                          line.find("resumed>") == std::string::npos;
        if (open >= 0 && call && line.find("/velmorandi-bench-begin-") == std::string::npos)
            ++calls[static_cast<std::size_t>(open)];
    }
    return calls;
}

} // namespace

int childRecordsOpen(const std::string& folder) {
    const JournalStore records = JournalStore::ofUser();
    const std::optional<NetRig> rig = netRigFromEnvironment();
    if (records.problem() || !rig)
        return 1;
    RunControl control;
    control.records = &records;
    FolderSession session;
    for (int open = 0; open < kOpens; ++open) {
        const SftpCounts before = readCounts(*rig);
        markInTrace("begin", open);
        const auto start = std::chrono::steady_clock::now();
        bool failed = false;
        if (open == 0) {
            failed = !RecoverInterruptedRuns(control).empty();
        } else {
            FolderSession::Loaded loaded = session.startLoad(folder)(control);
            failed = !loaded.canUndo || session.finishLoad(std::move(loaded)).error.has_value();
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        markInTrace("end", open);
        const SftpCounts requests = countsSince(*rig, before);
        if (failed)
            return 1;
        std::printf("%.1f %llu %s\n", ms, static_cast<unsigned long long>(totalRequests(requests)),
                    requestsPerFile(requests, 1).c_str());
    }
    return 0;
}

void measureRecordsOpen() {
    const std::optional<NetRig> rig = netRigFromEnvironment();
    const RigFolder opened = makeRigFolder(*rig, "records-open", 20);
    const RecordsHome home = makeRecordsHome(*rig, opened);
    const std::string stateWas = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    ::setenv("XDG_STATE_HOME", (home.mounted + "/state").c_str(), 1);
    const std::optional<std::string> timed = childOutput("records-open", opened.mounted);
    const std::string log = home.served + "/strace.log";
    const std::optional<std::string> traced =
        childOutput("records-open", opened.mounted, {"strace", "-f", "-qq", "-o", log});
    ::setenv("XDG_STATE_HOME", stateWas.c_str(), 1);
    if (!timed || !traced) {
        std::fprintf(stderr, "records-open through the mount failed\n");
        std::exit(1);
    }
    const std::vector<std::size_t> calls = callsPerOpen(log);
    std::size_t at = 0;
    for (int open = 0; open < kOpens; ++open) {
        const std::size_t end = timed->find('\n', at);
        const std::string line = timed->substr(at, end - at);
        at = end + 1;
        double ms = 0;
        unsigned long long requests = 0;
        int read = 0;
        std::sscanf(line.c_str(), "%lf %llu %n", &ms, &requests, &read);
        std::printf("BENCH net-records-%s records=%zu ms=%.1f requests=%llu "
                    "system-calls=%zu\n  requests: %s\n",
                    open == 0 ? "start" : ("open-" + std::to_string(open)).c_str(), kRecords, ms,
                    requests, calls[static_cast<std::size_t>(open)], line.c_str() + read);
    }
    std::fflush(stdout);
    removeRigFolder({home.served, home.mounted});
    removeRigFolder(opened);
}

} // namespace velmorandi::bench
