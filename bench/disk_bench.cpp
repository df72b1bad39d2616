#include "bench.h"

#include "folder_listing.h"
#include "folder_loader.h"
#include "rename_list.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmorandi::bench {

namespace {

constexpr int kListRuns = 5;
constexpr int kCommitRuns = 3;

// A fresh folder on the disk holding `count` empty files, removed afterwards.
class FilledFolder {
  public:
    explicit FilledFolder(std::size_t count, const char* namePattern = "Holiday photo %zu.jpg")
        : m_path(makeDiskFolder("bench")) {
        createEmptyFiles(m_path, namePattern, count);
    }
    ~FilledFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    FilledFolder(const FilledFolder&) = delete;
    FilledFolder& operator=(const FilledFolder&) = delete;
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
};

// The least any listing must do: one readdir loop and a byte-order sort.
std::vector<std::string> bareListing(const std::string& folder) {
    std::vector<std::string> names;
    DIR* stream = ::opendir(folder.c_str());
    while (const dirent* entry = ::readdir(stream)) {
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    }
    ::closedir(stream);
    std::sort(names.begin(), names.end());
    return names;
}

void measureListing(const FilledFolder& folder, std::size_t count) {
    std::vector<std::string> names;
    report("list", count,
           medianMs(
               kListRuns, [] {}, [&] { names = ListFolderFiles(folder.path()).names; }));
    report("list-baseline", count,
           medianMs(
               kListRuns, [] {}, [&] { names = bareListing(folder.path()); }));
}

// Run journals go to a state folder of the benchmark's own, on the same disk.
class PrivateStateFolder {
  public:
    PrivateStateFolder() : m_path(makeDiskFolder("bench-state")) {
        ::setenv("XDG_STATE_HOME", m_path.c_str(), 1);
    }
    ~PrivateStateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    PrivateStateFolder(const PrivateStateFolder&) = delete;
    PrivateStateFolder& operator=(const PrivateStateFolder&) = delete;

  private:
    std::string m_path;
};

void reportRatio(const std::string& measure, std::size_t rows, double ratio) {
    std::printf("BENCH %s n=%zu ratio=%.2f\n", measure.c_str(), rows, ratio);
    std::fflush(stdout);
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs of the two measures alternate, so both see the same folder state and the
// same load of the machine; each run gives every file one more prefix.
void measureCommit(const FilledFolder& folder, std::size_t count) {
    RenameList list;
    std::vector<std::string> names;
    const int handle = ::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY);
    std::vector<double> commitTimes;
    std::vector<double> baselineTimes;
    for (int run = 0; run < kCommitRuns; ++run) {
        commitTimes.push_back(medianMs(
            1,
            [&] {
                if (LoadFolder(list, folder.path()).error)
                    std::fprintf(stderr, "the folder could not be loaded\n");
                list.rewriteEditedBases(
                    [](const std::string& base, std::size_t) { return "c " + base; });
                list.ComposeEditedNames();
            },
            [&] {
                if (!renameAll(list, folder.path()))
                    std::fprintf(stderr, "commit did not complete\n");
            }));
        baselineTimes.push_back(medianMs(
            1, [&] { names = bareListing(folder.path()); },
            [&] {
                std::string target;
                for (const std::string& name : names) {
                    target = "b " + name;
                    if (::renameat2(handle, name.c_str(), handle, target.c_str(),
                                    RENAME_NOREPLACE) != 0)
                        std::perror("renameat2");
                }
            }));
    }
    ::close(handle);
    report("commit", count, median(commitTimes));
    report("commit-baseline", count, median(baselineTimes));
    reportRatio("commit-ratio", count, median(commitTimes) / median(baselineTimes));
}

// The bare loop for a run of `renames` renames: every file gets one more prefix.
double bareRenames(const FilledFolder& folder, std::size_t renames) {
    std::vector<std::string> names = bareListing(folder.path());
    names.resize(std::min(names.size(), renames));
    const int handle = ::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY);
    const double ms = medianMs(
        1, [] {},
        [&] {
            std::string target;
            for (const std::string& name : names) {
                target = "b " + name;
                if (::renameat2(handle, name.c_str(), handle, target.c_str(), RENAME_NOREPLACE) !=
                    0)
                    std::perror("renameat2");
            }
        });
    ::close(handle);
    return ms;
}

// `rewrite` gives each row its new base name; every run makes `renames` renames.
template <class Rewrite>
void measureRun(const char* measure, const char* namePattern, std::size_t count,
                std::size_t renames, Rewrite&& rewrite) {
    const FilledFolder folder(count, namePattern);
    const FilledFolder baselineFolder(renames);
    RenameList list;
    std::vector<double> runTimes;
    std::vector<double> baselineTimes;
    for (int run = 0; run < kCommitRuns; ++run) {
        runTimes.push_back(medianMs(
            1,
            [&] {
                if (LoadFolder(list, folder.path()).error)
                    std::fprintf(stderr, "the folder could not be loaded\n");
                list.rewriteEditedBases(rewrite);
                list.ComposeEditedNames();
            },
            [&] {
                if (!renameAll(list, folder.path()))
                    std::fprintf(stderr, "%s did not complete\n", measure);
            }));
        baselineTimes.push_back(bareRenames(baselineFolder, renames));
    }
    report(measure, count, median(runTimes));
    report(std::string(measure) + "-baseline", count, median(baselineTimes));
    reportRatio(std::string(measure) + "-ratio", count, median(runTimes) / median(baselineTimes));
}

// Files 0 to n-1 renumbered by one: each target is the current name of the next file.
void measureChain(std::size_t count) {
    measureRun("commit-chain", "%zu.jpg", count, count, [](const std::string& base, std::size_t) {
        return std::to_string(std::stoull(base) + 1);
    });
}

// Pairs of files trading names: "k a" and "k b".
void measureSwap(std::size_t pairs) {
    measureRun("commit-swap", "%zu", 2 * pairs, 2 * pairs,
               [](const std::string& base, std::size_t) {
                   const unsigned long long number = std::stoull(base);
                   return std::to_string(number ^ 1ull);
               });
}

} // namespace

void runDiskBench() {
    const PrivateStateFolder state;
    for (const std::size_t count : {std::size_t{10'000}, std::size_t{100'000}}) {
        const FilledFolder folder(count);
        measureListing(folder, count);
        measureCommit(folder, count);
    }
    measureChain(100'000);
    measureSwap(50'000);
}

} // namespace velmorandi::bench
