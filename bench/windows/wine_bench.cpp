// The Windows measures, run under Wine by `bench/run wine` (bench/windows/wine_bench.sh):
//   velmorandi_wine_bench run FOLDER [SECONDS]  the job's rename of every file of FOLDER to
//       "x_" and its name, as the window makes it; with SECONDS, cancelled once it has run
//       that long (the rollback that follows is not timed)
//   velmorandi_wine_bench lookups FOLDER  one look-up of a name the folder lacks, and of
//       one it has, each timed
//   velmorandi_wine_bench loop FOLDER [SECONDS]  the bare loop: one rename per file that
//       refuses a taken name, nothing else; with SECONDS, stopped after that long
// Each prints "BENCH measure n=files ..." lines. Around the run's own calls it passes a
// mark to OutputDebugStringA, so that a trace of its calls can be cut to the run.
#include "folder_loader.h"
#include "paths.h"
#include "platform/windows/wide_text.h"
#include "rename_list.h"
#include "run/journal_store.h"
#include "run/run.h"
#include "transforms/operations.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace velmorandi::bench {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Stops the run once it has made steps for `limit`, noting how many it made by then.
class Timer : public RunObserver {
  public:
    Timer(std::atomic<bool>& cancel, double limitMs) : m_cancel(cancel), m_limitMs(limitMs) {}
    void stepsDone(std::size_t done, std::size_t) override {
        if (done == 1)
            m_first = Clock::now();
        if (m_cancel.load())
            return;
        m_steps = done;
        m_ms = msSince(m_first);
        if (m_limitMs > 0 && m_ms > m_limitMs)
            m_cancel.store(true);
    }
    void rollbackStepsDone(std::size_t, std::size_t) override {}
    std::size_t steps() const { return m_steps; }
    double ms() const { return m_ms; }

  private:
    std::atomic<bool>& m_cancel;
    double m_limitMs;
    Clock::time_point m_first = Clock::now();
    std::size_t m_steps = 0;
    double m_ms = 0;
};

int run(const std::string& folder, double limitSeconds) {
    RenameList list;
    if (LoadFolder(list, folder).error)
        return 1;
    OperationInputs add;
    add.addText = "x_";
    add.addSide = Side::Left;
    ApplyOperation(list, Operation::AddString, add);
    auto prepared = PrepareRename(list, folder);
    if (!std::holds_alternative<RunRequest>(prepared))
        return 1;
    const JournalStore records = JournalStore::ofUser();
    std::atomic<bool> cancel = false;
    Timer timer(cancel, limitSeconds * 1000);
    RunControl control;
    control.records = &records;
    control.observer = &timer;
    control.cancel = &cancel;
    const auto start = Clock::now();
    ::OutputDebugStringA("velmorandi-bench: run begins");
    RunResult result = ExecuteRun(std::get<RunRequest>(std::move(prepared)), control);
    ::OutputDebugStringA("velmorandi-bench: run ends");
    const double ms = msSince(start);
    const bool completed = result.outcome == RunOutcome::Completed;
    if (!completed && !cancel.load())
        return 1;
    std::printf("BENCH wine-run n=%zu ms=%.1f steps=%zu steps-ms=%.1f files-per-s=%.1f%s\n",
                list.size(), ms, timer.steps(), timer.ms(),
                timer.ms() > 0 ? timer.steps() * 1000.0 / timer.ms() : 0.0,
                completed ? "" : " cancelled");
    return 0;
}

std::vector<std::wstring> namesOf(const std::string& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const HANDLE find =
        ::FindFirstFileExW(platform::widen(JoinPath(folder, "*")).c_str(), FindExInfoBasic, &data,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

// Microseconds per look-up, over `count` of them.
template <class Path> double lookupUs(int count, Path&& path) {
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i)
        ::GetFileAttributesW(path(i).c_str());
    return msSince(start) * 1000 / count;
}

int lookups(const std::string& folder) {
    const std::vector<std::wstring> names = namesOf(folder);
    if (names.empty())
        return 1;
    const std::wstring base = platform::widen(folder) + L"\\";
    constexpr int kCount = 200;
    const double missing =
        lookupUs(kCount, [&](int i) { return base + L"missing-" + std::to_wstring(i) + L".JPG"; });
    const double present =
        lookupUs(kCount, [&](int i) { return base + names[i * names.size() / kCount]; });
    std::printf("BENCH wine-lookup-missing n=%zu us=%.1f\n", names.size(), missing);
    std::printf("BENCH wine-lookup-present n=%zu us=%.1f\n", names.size(), present);
    return 0;
}

int loop(const std::string& folder, double limitSeconds) {
    const std::vector<std::wstring> names = namesOf(folder);
    const std::wstring base = platform::widen(folder) + L"\\";
    const auto start = Clock::now();
    std::size_t done = 0;
    for (const std::wstring& name : names) {
        if (!::MoveFileExW((base + name).c_str(), (base + L"y_" + name).c_str(), 0))
            return 1;
        if (++done % 64 == 0 && limitSeconds > 0 && msSince(start) > limitSeconds * 1000)
            break;
    }
    const double ms = msSince(start);
    std::printf("BENCH wine-loop n=%zu ms=%.1f steps=%zu files-per-s=%.1f\n", names.size(), ms,
                done, done * 1000.0 / ms);
    return 0;
}

} // namespace
} // namespace velmorandi::bench

int main(int argc, char** argv) {
    using namespace velmorandi::bench;
    const std::string what = argc >= 3 ? argv[1] : "";
    if (what == "run")
        return run(argv[2], argc >= 4 ? std::atof(argv[3]) : 0);
    if (what == "lookups")
        return lookups(argv[2]);
    if (what == "loop")
        return loop(argv[2], argc >= 4 ? std::atof(argv[3]) : 0);
    std::fprintf(stderr, "usage: velmorandi_wine_bench run|lookups|loop FOLDER [SECONDS]\n");
    return 2;
}
