#pragma once

#include "run_folder.h"
#include "run_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Runs that chain, swap, ring and change letter case, stopped at every call
// they make on the disk, reads included: a failure there, a crash (or a
// drive pulled out) right after it, and a failure or a crash at each call of
// the recovery that follows. Every time the folder ends exactly as it was,
// names and bytes, or, where the run had marked itself complete, exactly as
// the run left it.
namespace velmorandi::testing {

struct Scenario {
    const char* label;
    std::vector<std::string> files;
    Moves moves;
    bool ignoreCase = false;
    std::vector<std::size_t> taken =
        {}; // rows refused as "already taken"; empty: the run completes
};

inline const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> all{
        {"chain",
         {"0.txt", "1.txt", "2.txt", "3.txt", "a.txt"},
         {{"0.txt", "1.txt"},
          {"1.txt", "2.txt"},
          {"2.txt", "3.txt"},
          {"3.txt", "4.txt"},
          {"a.txt", "b.txt"}}},
        {"swap", {"a.txt", "b.txt", "c.txt"}, {{"a.txt", "b.txt"}, {"b.txt", "a.txt"}}},
        {"rings",
         {"a", "b", "c", "d", "p", "q", "x"},
         {{"a", "b"}, {"b", "c"}, {"c", "d"}, {"d", "a"}, {"x", "y"}, {"p", "q"}, {"q", "p"}}},
        {"letter case",
         {"Photo.jpg", "A.txt", "B.txt", "c.txt"},
         {{"Photo.jpg", "photo.jpg"}, {"A.txt", "b.txt"}, {"B.txt", "a.txt"}, {"c.txt", "C2.txt"}},
         true},
        {"letter case collisions",
         {"a.txt", "b.txt", "c.txt", "d.txt"},
         {{"a.txt", "X.txt"}, {"b.txt", "x.txt"}, {"c.txt", "D.txt"}},
         true,
         {0, 1, 2}},
    };
    return all;
}

// The three ways a folder's drive takes a run: atomic exchanges; temporary
// names with lasting file numbers; names alone (FAT, exFAT, network drives),
// each rename one call, two (a second name, then the first removed) or two
// (a placeholder, then the rename onto it, as on exFAT).
struct Mode {
    const char* label;
    bool noExchange = false;
    bool noIdentities = false;
    std::optional<RenameWay> way = std::nullopt;
};
inline const Mode kModes[]{{"exchange"},
                           {"temporary names", true},
                           {"names only", true, true},
                           {"second names", true, true, RenameWay::LinkThenUnlink},
                           {"placeholders", true, true, RenameWay::Placeholder}};

inline RunTesting testingFor(const Scenario& scenario, const Mode& mode) {
    RunTesting testing;
    testing.ignoreCase = scenario.ignoreCase;
    testing.noExchange = mode.noExchange;
    testing.noIdentities = mode.noIdentities;
    testing.way = mode.way;
    return testing;
}

// One run of the scenario with the sweep's seam; what it leaves behind.
struct SweepRun {
    RunResult result;
    std::size_t calls = 0;
    std::vector<DiskCall> kinds;
};

inline SweepRun runWith(const TempFolder& folder, const TestRecords& records,
                        const Scenario& scenario, const Mode& mode, CallSweep& sweep) {
    RunTesting testing = testingFor(scenario, mode);
    testing.seam = sweep.seam();
    SweepRun run;
    run.result = ExecuteRun(runRequest(folder, scenario.moves), records.control(&testing));
    run.calls = sweep.calls();
    run.kinds = sweep.kinds();
    return run;
}

inline RecoveryReport recover(const TestRecords& records, const Scenario& scenario,
                              const Mode& mode, CallSweep* sweep = nullptr) {
    RunTesting testing = testingFor(scenario, mode);
    if (sweep)
        testing.seam = sweep->seam();
    return RecoverInterruptedRuns(records.control(&testing));
}

// From the call that makes the run's last step on, every file bears its new
// name: nothing is taken back, whatever became of the complete mark.
inline std::size_t lastStepCall(const std::vector<DiskCall>& kinds) {
    for (std::size_t i = kinds.size(); i-- > 0;)
        if (kinds[i] == DiskCall::Rename || kinds[i] == DiskCall::Exchange ||
            kinds[i] == DiskCall::Unlink || kinds[i] == DiskCall::RenameOntoPlaceholder)
            return i + 1;
    return 0;
}

// Once the complete mark is written, a crash leaves nothing for recovery.
inline std::size_t completeMarkCall(const std::vector<DiskCall>& kinds) {
    for (std::size_t i = kinds.size(); i-- > 0;)
        if (kinds[i] == DiskCall::AppendRecord)
            return i + 1;
    return 0;
}

inline void expectRefusedUntouched(const std::string& parent, const Scenario& scenario,
                                   const Mode& mode) {
    TempFolder folder(parent, scenario.files);
    TestRecords records;
    const Snapshot before = folder.snapshot();
    CallSweep sweep(CallSweep::kNever, CallSweep::kNever);
    const SweepRun run = runWith(folder, records, scenario, mode, sweep);
    EXPECT_EQ(run.result.outcome, RunOutcome::NameTaken);
    EXPECT_EQ(run.result.errorRows, scenario.taken);
    for (const DiskCall call : run.kinds)
        EXPECT_FALSE(renamesAFile(call));
    EXPECT_EQ(folder.snapshot(), before);
    EXPECT_EQ(records.entries(),
              std::vector<std::string>{}); // the record begun beside the check is given up
}

// An entry of another program's, made under one of the run's new names that
// no entry bears now (letter case aside): an empty file, a file, or a folder,
// by `k`. Empty where every new name is borne.
struct Foreign {
    std::string name;
    std::string content; // "folder" for a folder, as snapshots show it
};

inline std::string lowerAscii(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

inline Foreign placeForeign(const TempFolder& folder, const Moves& moves, std::size_t k) {
    std::set<std::string> borne;
    for (const auto& entry : std::filesystem::directory_iterator(fileSystemPath(folder.path())))
        borne.insert(lowerAscii(pathBytes(entry.path().filename())));
    std::vector<std::string> free;
    for (const auto& move : moves)
        if (!borne.contains(lowerAscii(move.second)))
            free.push_back(move.second);
    if (free.empty())
        return {};
    Foreign foreign{free[k % free.size()], {}};
    const auto path = fileSystemPath(folder.path()) / fileSystemPath(foreign.name);
    switch (k % 3) {
    case 0:
        std::ofstream(path, std::ios::binary).flush();
        break;
    case 1:
        foreign.content = "not the run's";
        std::ofstream(path, std::ios::binary) << foreign.content;
        break;
    default:
        foreign.content = "folder";
        std::filesystem::create_directory(path);
    }
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        ADD_FAILURE() << "could not make " << foreign.name << " of another program's in "
                      << folder.path() << ": " << error.message();
    return foreign;
}

// Whether a new name is borne by no file the run starts from (letter case
// aside): there, an entry of another program's can be put before the first step.
inline bool someNewNameFree(const Scenario& scenario) {
    std::set<std::string> borne;
    for (const std::string& file : scenario.files)
        borne.insert(lowerAscii(file));
    return std::any_of(scenario.moves.begin(), scenario.moves.end(),
                       [&](const auto& move) { return !borne.contains(lowerAscii(move.second)); });
}

// What the user is asked about: the one empty or cut-short file where a run
// (or a rollback) stopped before it marked its placeholder.
inline const RecoveryNote* unmarkedOf(const RecoveryReport& report) {
    EXPECT_LE(notesOf(report, RecoveryNote::Kind::LeftUnmarked), 1u) << describe(report);
    for (const RecoveryNote& note : report.notes)
        if (note.kind == RecoveryNote::Kind::LeftUnmarked)
            return &note;
    return nullptr;
}

// The next start, answered as the user would. Where it leaves an unmarked
// placeholder, that is the one entry more than before, named by the note,
// every file it holds nothing back from bears its old name (where only names
// tell, none moves while it holds one back), and the record stays. "Keep it"
// keeps all that, and the start after asks again; "Remove the empty file"
// puts the folder right.
inline RecoveryReport recoverAnswering(const TempFolder& folder, const TestRecords& records,
                                       const Scenario& scenario, const Mode& mode,
                                       const Snapshot& before, std::size_t* asked = nullptr) {
    const Snapshot stopped = folder.snapshot();
    RecoveryReport report = recover(records, scenario, mode);
    // A rollback's entry first, then its run's.
    for (int round = 0; round < 2 && unmarkedOf(report) != nullptr; ++round) {
        const std::string name = unmarkedOf(report)->name;
        SCOPED_TRACE("unmarked " + name);
        if (asked)
            ++*asked;
        Snapshot now = folder.snapshot();
        EXPECT_TRUE(now.contains(name)) << describe(report);
        EXPECT_LT(now[name].size(), 24u);
        EXPECT_TRUE(now == stopped || (now.erase(name), now == before)) << describe(report);
        EXPECT_FALSE(records.entries().empty());
        now = folder.snapshot();
        const RecoveryReport kept = recover(records, scenario, mode);
        EXPECT_EQ(folder.snapshot(), now);
        const RecoveryNote* again = unmarkedOf(kept);
        EXPECT_TRUE(again != nullptr && again->name == name) << describe(kept);
        if (again == nullptr)
            return kept;
        RunTesting testing = testingFor(scenario, mode);
        report = RemoveUnmarkedAndRecover(*again, records.control(&testing));
    }
    EXPECT_EQ(unmarkedOf(report), nullptr) << describe(report);
    return report;
}

// The entry is there as it was made; once it is gone, recovery puts the
// folder right from the record it kept.
inline void expectForeignKept(const TempFolder& folder, const TestRecords& records,
                              const Scenario& scenario, const Mode& mode, const Foreign& foreign,
                              const Snapshot& expected) {
    SCOPED_TRACE("with " + foreign.name + " of another program's (" +
                 (foreign.content.empty() ? std::string("empty") : foreign.content) + ")");
    const auto path = fileSystemPath(folder.path()) / fileSystemPath(foreign.name);
    const Snapshot now = folder.snapshot();
    ASSERT_TRUE(now.contains(foreign.name));
    EXPECT_EQ(std::filesystem::is_directory(path), foreign.content == "folder");
    EXPECT_EQ(now.at(foreign.name), foreign.content);
    std::filesystem::remove(path);
    const RecoveryReport report = recoverAnswering(folder, records, scenario, mode, expected);
    EXPECT_EQ(folder.snapshot(), expected) << describe(report);
    EXPECT_TRUE(recover(records, scenario, mode).empty());
}

// A failure at call k: the run reports it and every file has its name back,
// unless the run had made every step. Once the run is marked complete, what
// is left (the pruning of older records) may fail unreported. With
// `foreign`, another program puts an entry under a free new name just before
// the call fails; false where every new name was borne then, so none was put.
inline bool failAt(const std::string& parent, const Scenario& scenario, const Mode& mode,
                   std::size_t k, std::size_t stepsEnd, std::size_t completeAt, bool foreign) {
    SCOPED_TRACE("failure at call " + std::to_string(k));
    TempFolder folder(parent, scenario.files);
    TestRecords records;
    const Snapshot before = folder.snapshot();
    const Snapshot expected = k > stepsEnd ? afterMoves(before, scenario.moves) : before;
    CallSweep sweep(k, CallSweep::kNever);
    Foreign placed;
    bool reached = false;
    if (foreign)
        sweep.beforeFailing = [&] {
            reached = true;
            placed = placeForeign(folder, scenario.moves, k);
        };
    const SweepRun run = runWith(folder, records, scenario, mode, sweep);
    if (foreign && !reached)
        ADD_FAILURE() << "the run made " << run.calls << " calls, so none failed at call " << k
                      << " with an entry of another program's put before it";
    if (!placed.name.empty())
        expectForeignKept(folder, records, scenario, mode, placed, expected);
    if (foreign)
        return !placed.name.empty();
    EXPECT_EQ(run.result.outcome == RunOutcome::Completed, k > stepsEnd);
    if (k <= completeAt) {
        EXPECT_NE(run.result.news.kind, RunNews::Kind::None);
    }
    EXPECT_EQ(folder.snapshot(), expected);
    const RecoveryReport report = recover(records, scenario, mode);
    EXPECT_FALSE(troubled(report)) << describe(report);
    EXPECT_EQ(folder.snapshot(), expected);
    EXPECT_TRUE(recover(records, scenario, mode).empty());
    return true;
}

// What befalls the next start at one of its calls.
struct RecoveryFault {
    std::size_t call;
    bool crash; // else only that call fails
};

// A crash after call k, then the next start, itself failing or crashing at
// call `j.call` where `j` is given, then one more start. With `foreign`,
// another program puts an entry under a free new name before the first start;
// false where every new name was borne then, so none was put.
inline bool crashAfter(const std::string& parent, const Scenario& scenario, const Mode& mode,
                       std::size_t k, std::size_t stepsEnd, std::optional<RecoveryFault> j,
                       bool foreign = false) {
    SCOPED_TRACE("crash after call " + std::to_string(k) +
                 (!j         ? std::string()
                  : j->crash ? ", recovery crashed after call " + std::to_string(j->call)
                             : ", recovery failed at call " + std::to_string(j->call)));
    TempFolder folder(parent, scenario.files);
    TestRecords records;
    const Snapshot before = folder.snapshot();
    const Snapshot expected = k >= stepsEnd ? afterMoves(before, scenario.moves) : before;
    CallSweep sweep(CallSweep::kNever, k);
    runWith(folder, records, scenario, mode, sweep);
    if (foreign) {
        const Foreign placed = placeForeign(folder, scenario.moves, k);
        if (placed.name.empty())
            return false;
        static_cast<void>(recover(records, scenario, mode));
        expectForeignKept(folder, records, scenario, mode, placed, expected);
        return true;
    }
    if (j) {
        CallSweep faulty(j->crash ? CallSweep::kNever : j->call,
                         j->crash ? j->call : CallSweep::kNever);
        static_cast<void>(recover(records, scenario, mode, &faulty));
    }
    const RecoveryReport report = recoverAnswering(folder, records, scenario, mode, before);
    EXPECT_FALSE(troubled(report)) << describe(report);
    EXPECT_EQ(folder.snapshot(), expected);
    EXPECT_TRUE(recover(records, scenario, mode).empty());
    return true;
}

// The calls the recovery of a run crashed after call k makes.
inline std::vector<DiskCall> recoveryCallsAfterCrash(const std::string& parent,
                                                     const Scenario& scenario, const Mode& mode,
                                                     std::size_t k) {
    TempFolder folder(parent, scenario.files);
    TestRecords records;
    CallSweep sweep(CallSweep::kNever, k);
    runWith(folder, records, scenario, mode, sweep);
    CallSweep counting(CallSweep::kNever, CallSweep::kNever);
    static_cast<void>(recover(records, scenario, mode, &counting));
    return counting.kinds();
}

// How deep a sweep goes into the recovery after each crash of the run.
enum class Nested {
    No,
    Crashes, // the recovery crashed after each of its calls that changes the disk
    Fully    // and each of its calls failed in turn as well
};

// Every call of the run failed in turn, and the run crashed after every call
// that changes the disk, each also with an entry of another program's under a
// new name; then the recovery after each crash, as deep as `nested` says.
inline void sweep(const std::string& parent, const Scenario& scenario, const Mode& mode,
                  Nested nested = Nested::Fully) {
    SCOPED_TRACE(std::string(scenario.label) + ", " + mode.label + ", in " + parent);
    if (!scenario.taken.empty()) {
        expectRefusedUntouched(parent, scenario, mode);
        return;
    }
    std::size_t calls = 0;
    std::vector<DiskCall> kinds;
    std::size_t stepsEnd = 0;
    std::size_t completeAt = 0;
    {
        TempFolder folder(parent, scenario.files);
        TestRecords records;
        const Snapshot before = folder.snapshot();
        CallSweep sweep(CallSweep::kNever, CallSweep::kNever);
        const SweepRun run = runWith(folder, records, scenario, mode, sweep);
        ASSERT_EQ(run.result.outcome, RunOutcome::Completed) << describe(run.result.news);
        EXPECT_EQ(folder.snapshot(), afterMoves(before, scenario.moves));
        calls = run.calls;
        kinds = run.kinds;
        stepsEnd = lastStepCall(run.kinds);
        completeAt = completeMarkCall(run.kinds);
    }
    // Before the first step every free new name is still free: there at
    // least, the entry of another program's must have been put.
    std::size_t failedBeside = 0;
    std::size_t crashedBeside = 0;
    for (std::size_t k = 1; k <= calls; ++k) {
        failAt(parent, scenario, mode, k, stepsEnd, completeAt, false);
        failedBeside += failAt(parent, scenario, mode, k, stepsEnd, completeAt, true);
    }
    for (std::size_t k = 0; k <= calls; ++k) {
        if (!newCrashPoint(kinds, k))
            continue;
        crashAfter(parent, scenario, mode, k, stepsEnd, std::nullopt);
        crashedBeside += crashAfter(parent, scenario, mode, k, stepsEnd, std::nullopt, true);
        if (nested == Nested::No || k >= completeAt)
            continue;
        const std::vector<DiskCall> recovery = recoveryCallsAfterCrash(parent, scenario, mode, k);
        for (std::size_t j = 0; j < recovery.size(); ++j) {
            if (nested == Nested::Fully)
                crashAfter(parent, scenario, mode, k, stepsEnd, RecoveryFault{j + 1, false});
            if (newCrashPoint(recovery, j))
                crashAfter(parent, scenario, mode, k, stepsEnd, RecoveryFault{j, true});
        }
    }
    if (someNewNameFree(scenario)) {
        EXPECT_GT(failedBeside, 0u) << "no call failed beside an entry of another program's";
        EXPECT_GT(crashedBeside, 0u) << "no crash was met beside an entry of another program's";
    }
}

} // namespace velmorandi::testing
