#pragma once

#include "list_rows.h"
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
// they make on the disk, reads included, in each of their two streams: a
// failure there, a crash (or a drive pulled out) right after it, and a
// failure or a crash at each call of the recovery that follows. Every time
// the folder ends exactly as it was, names and bytes, or, where the run had
// marked itself complete, exactly as the run left it; and the list tells no
// more than that.
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
// (a placeholder, then the rename onto it, as on exFAT). Names alone are
// what a network drive takes, and there the listing is read again between steps.
struct Mode {
    const char* label;
    bool noExchange = false;
    bool noIdentities = false;
    std::optional<RenameWay> way = std::nullopt;
    bool remote = false;
};
inline const Mode kModes[]{{"exchange"},
                           {"temporary names", true},
                           {"names only", true, true, std::nullopt, true},
                           {"second names", true, true, RenameWay::LinkThenUnlink},
                           {"placeholders", true, true, RenameWay::Placeholder}};

inline RunTesting testingFor(const Scenario& scenario, const Mode& mode) {
    RunTesting testing;
    testing.ignoreCase = scenario.ignoreCase;
    testing.noExchange = mode.noExchange;
    testing.noIdentities = mode.noIdentities;
    testing.way = mode.way;
    testing.remote = mode.remote;
    return testing;
}

// One run of the scenario with the sweep's seam, from the window's list of the
// folder; what it leaves behind, the list as it is once the run is finished.
struct SweepRun {
    RunResult result;
    std::size_t calls = 0;
    std::vector<DiskCall> kinds;  // the run's stream
    std::vector<DiskCall> beside; // the journal writer's, then the read-back's
    bool reloaded = false;
    std::vector<std::string> listed;
    std::vector<std::string> statuses;
    const std::vector<DiskCall>& of(Stream stream) const {
        return stream == Stream::Run ? kinds : beside;
    }
};

// The moves' files first, in the moves' order, so that a row is its move's number.
inline RenameList listOf(const TempFolder& folder, const Moves& moves) {
    std::vector<std::string> names;
    for (const auto& move : moves)
        names.push_back(move.first);
    for (const auto& [name, content] : folder.snapshot())
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    RenameList list;
    list.load(names);
    for (std::size_t i = 0; i < moves.size(); ++i)
        EXPECT_TRUE(list.setEditedName(i, moves[i].second)) << moves[i].second;
    return list;
}

inline SweepRun runWith(const TempFolder& folder, const TestRecords& records,
                        const Scenario& scenario, const Mode& mode, CallSweep& sweep) {
    RunTesting testing = testingFor(scenario, mode);
    testing.seam = sweep.seam();
    RenameList list = listOf(folder, scenario.moves);
    RunRequest request = runRequest(folder, scenario.moves);
    request.rows = LentList(list);
    request.generation = list.generation();
    SweepRun run;
    run.result = ExecuteRun(std::move(request), records.control(&testing));
    run.calls = sweep.calls();
    run.kinds = sweep.kinds();
    run.beside = sweep.kinds(Stream::Beside);
    run.reloaded = FinishRun(list, folder.path(), run.result).reloaded;
    run.listed = listedNames(list);
    run.statuses = statuses(list);
    return run;
}

inline RecoveryReport recover(const TestRecords& records, const Scenario& scenario,
                              const Mode& mode, CallSweep* sweep = nullptr) {
    RunTesting testing = testingFor(scenario, mode);
    if (sweep)
        testing.seam = sweep->seam();
    return RecoverInterruptedRuns(records.control(&testing));
}

// Whether a call reads or changes a record, not the renamed folder.
inline bool ofTheRecords(DiskCall call) {
    switch (call) {
    case DiskCall::CreateRecord:
    case DiskCall::AppendRecord:
    case DiskCall::SyncRecord:
    case DiskCall::RenameRecord:
    case DiskCall::SyncRecordFolder:
    case DiskCall::RemoveRecord:
    case DiskCall::CutRecord:
    case DiskCall::ListRecords:
    case DiskCall::OpenRecord:
    case DiskCall::ReadRecord:
        return true;
    default:
        return false;
    }
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

// Where a stream's calls stop taking the run back. Beside the run the
// journal writer's calls come before any step, the read-back's after the last.
struct Landmarks {
    std::size_t stepsEnd = 0;
    std::size_t completeAt = 0;
};
inline Landmarks landmarksOf(Stream stream, const std::vector<DiskCall>& kinds) {
    if (stream == Stream::Run)
        return {lastStepCall(kinds), completeMarkCall(kinds)};
    std::size_t written = 0;
    for (std::size_t i = 0; i < kinds.size(); ++i)
        if (ofTheRecords(kinds[i]))
            written = i + 1;
    return {written, written};
}

// What the list tells once the run is finished: no row "Done" unless the run
// completed, and then only a file it renamed or was given; a list read anew
// holds the folder's files; a listing that failed leaves no row to rename again.
inline void expectListSound(const TempFolder& folder, const SweepRun& run,
                            const Snapshot& runFiles) {
    const bool completed = run.result.outcome == RunOutcome::Completed;
    if (run.result.news.kind == RunNews::Kind::ReloadFailed) {
        EXPECT_TRUE(completed);
        EXPECT_TRUE(run.listed.empty());
        return;
    }
    if (run.reloaded) {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(fileSystemPath(folder.path())))
            if (entry.is_regular_file())
                files.push_back(pathBytes(entry.path().filename()));
        std::vector<std::string> listed = run.listed;
        std::sort(files.begin(), files.end());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, files);
    }
    for (std::size_t i = 0; i < run.listed.size(); ++i)
        if (run.statuses[i] == "Done") {
            EXPECT_TRUE(completed && runFiles.contains(run.listed[i])) << run.listed[i];
        }
}

// The calls of a stream, for a failing test to print.
inline std::string describe(const std::vector<DiskCall>& kinds) {
    std::string text;
    for (const DiskCall call : kinds)
        text += std::to_string(static_cast<int>(call)) + " ";
    return text;
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

// A failure at call k of a stream: the run reports it and every file has
// its name back, unless the run had made every step or the call was only a
// hint. Once the run is marked complete, what is left (the pruning of older
// records, the read-back) may fail unreported. The call that fails is the
// one the reference run made k-th in that stream, after the same calls. With
// `foreign`, another program puts an entry under a free new name just before
// the call fails; false where every new name was borne then, so none was put.
// With `listingAt`, the run's listing of the folder there fails as well.
struct FailurePoint {
    Stream stream;
    std::size_t k;
    std::size_t listingAt = 0;
    CallSweep::Overlap overlap = CallSweep::Overlap::Serialised;
};
inline bool failAt(const std::string& parent, const Scenario& scenario, const Mode& mode,
                   FailurePoint at, const SweepRun& reference, bool foreign) {
    SCOPED_TRACE(
        std::string("failure at call ") + std::to_string(at.k) + " of the " + nameOf(at.stream) +
        " stream" +
        (at.listingAt ? ", and of the listing at " + std::to_string(at.listingAt) : std::string()));
    const std::vector<DiskCall>& calls = reference.of(at.stream);
    const Landmarks landmarks = landmarksOf(at.stream, calls);
    const bool hint = calls[at.k - 1] == DiskCall::RefreshListing;
    // Another program's entry under a new name stops a step that follows a hint.
    const bool completes = at.k > landmarks.stepsEnd || (hint && !foreign);
    TempFolder folder(parent, scenario.files);
    TestRecords records;
    const Snapshot before = folder.snapshot();
    const Snapshot after = afterMoves(before, scenario.moves);
    const Snapshot expected = completes ? after : before;
    CallSweep sweep(at.k, CallSweep::kNever, at.stream, at.overlap);
    if (at.listingAt)
        sweep.alsoFail(Stream::Run, at.listingAt);
    Foreign placed;
    bool reached = false;
    if (foreign)
        sweep.beforeFailing = [&] {
            reached = true;
            placed = placeForeign(folder, scenario.moves, at.k);
        };
    const SweepRun run = runWith(folder, records, scenario, mode, sweep);
    if (foreign && !reached)
        ADD_FAILURE() << "no call failed at call " << at.k
                      << " with an entry of another program's put before it";
    const std::vector<DiskCall>& made = run.of(at.stream);
    EXPECT_TRUE(made.size() >= at.k &&
                std::equal(calls.begin(), calls.begin() + at.k, made.begin()))
        << "reference: " << describe(calls) << "\nthis run: " << describe(made);
    if (!placed.name.empty()) {
        expectListSound(folder, run, after);
        expectForeignKept(folder, records, scenario, mode, placed, expected);
        return true;
    }
    if (foreign)
        return false;
    EXPECT_EQ(run.result.outcome == RunOutcome::Completed, completes);
    if (at.k <= landmarks.completeAt && !hint) {
        EXPECT_NE(run.result.news.kind, RunNews::Kind::None);
    }
    EXPECT_EQ(folder.snapshot(), expected);
    expectListSound(folder, run, after);
    const RecoveryReport report = recover(records, scenario, mode);
    EXPECT_FALSE(troubled(report)) << describe(report);
    EXPECT_EQ(folder.snapshot(), expected);
    EXPECT_TRUE(recover(records, scenario, mode).empty());
    return true;
}

// What befalls the next start at one of its calls.
struct RecoveryFault {
    Stream stream;
    std::size_t call;
    bool crash; // else only that call fails
};

// Where a run crashed: after call k of a stream; `stepsMade` where every
// step was made by then.
struct CrashPoint {
    Stream stream;
    std::size_t k;
    bool stepsMade;
    CallSweep::Overlap overlap = CallSweep::Overlap::Serialised;
};

// A crash after call k, then the next start, itself failing or crashing at
// call `j.call` where `j` is given, then one more start. With `foreign`,
// another program puts an entry under a free new name before the first start;
// false where every new name was borne then, so none was put.
inline bool crashAfter(const std::string& parent, const Scenario& scenario, const Mode& mode,
                       CrashPoint at, std::optional<RecoveryFault> j, bool foreign = false) {
    SCOPED_TRACE(
        "crash after call " + std::to_string(at.k) + " of the " + nameOf(at.stream) + " stream" +
        (!j ? std::string()
            : (j->crash ? ", recovery crashed after call " : ", recovery failed at call ") +
                  std::to_string(j->call) + " of its " + nameOf(j->stream) + " stream"));
    TempFolder folder(parent, scenario.files);
    TestRecords records;
    const Snapshot before = folder.snapshot();
    const Snapshot expected = at.stepsMade ? afterMoves(before, scenario.moves) : before;
    CallSweep sweep(CallSweep::kNever, at.k, at.stream, at.overlap);
    runWith(folder, records, scenario, mode, sweep);
    if (foreign) {
        const Foreign placed = placeForeign(folder, scenario.moves, at.k);
        if (placed.name.empty())
            return false;
        static_cast<void>(recover(records, scenario, mode));
        expectForeignKept(folder, records, scenario, mode, placed, expected);
        return true;
    }
    if (j) {
        CallSweep faulty(j->crash ? CallSweep::kNever : j->call,
                         j->crash ? j->call : CallSweep::kNever, j->stream);
        static_cast<void>(recover(records, scenario, mode, &faulty));
    }
    const RecoveryReport report = recoverAnswering(folder, records, scenario, mode, before);
    EXPECT_FALSE(troubled(report)) << describe(report);
    EXPECT_EQ(folder.snapshot(), expected);
    EXPECT_TRUE(recover(records, scenario, mode).empty());
    return true;
}

// The calls the recovery of a run crashed there makes, stream by stream.
struct RecoveryCalls {
    std::vector<DiskCall> run;
    std::vector<DiskCall> beside;
    const std::vector<DiskCall>& of(Stream stream) const {
        return stream == Stream::Run ? run : beside;
    }
};
inline RecoveryCalls recoveryCallsAfterCrash(const std::string& parent, const Scenario& scenario,
                                             const Mode& mode, CrashPoint at) {
    TempFolder folder(parent, scenario.files);
    TestRecords records;
    CallSweep sweep(CallSweep::kNever, at.k, at.stream);
    runWith(folder, records, scenario, mode, sweep);
    CallSweep counting(CallSweep::kNever, CallSweep::kNever);
    static_cast<void>(recover(records, scenario, mode, &counting));
    return {counting.kinds(), counting.kinds(Stream::Beside)};
}

// How deep a sweep goes into the recovery after each crash of the run.
enum class Nested {
    No,
    Crashes, // the recovery crashed after each of its calls that changes the disk
    Fully    // and each of its calls failed in turn as well
};

// The recovery after a crash there, failed at each of its calls and crashed
// after each that changes the disk, as deep as `nested` says.
inline void sweepRecovery(const std::string& parent, const Scenario& scenario, const Mode& mode,
                          CrashPoint at, Nested nested) {
    const RecoveryCalls recovery = recoveryCallsAfterCrash(parent, scenario, mode, at);
    for (const Stream stream : kStreams) {
        const std::vector<DiskCall>& calls = recovery.of(stream);
        for (std::size_t j = 0; j < calls.size(); ++j) {
            if (nested == Nested::Fully)
                crashAfter(parent, scenario, mode, at, RecoveryFault{stream, j + 1, false});
            if (newCrashPoint(calls, j) && (stream == Stream::Run || j > 0))
                crashAfter(parent, scenario, mode, at, RecoveryFault{stream, j, true});
        }
    }
}

// The run's listing of the folder, where the read-back could not tell.
inline bool listsAfter(const SweepRun& run, const SweepRun& reference) {
    const std::vector<DiskCall> listing{DiskCall::OpenFolder, DiskCall::ListFolder};
    return run.kinds.size() == reference.kinds.size() + listing.size() &&
           std::equal(listing.begin(), listing.end(), run.kinds.end() - 2);
}

// The reads around the steps pass the seam as well: the read-back beside the
// run, and on a network drive the listing read again before the steps.
inline void expectReadsInTheSeam(const SweepRun& reference, const Mode& mode) {
    const std::size_t written = landmarksOf(Stream::Beside, reference.beside).stepsEnd;
    const std::vector<DiskCall> readBack(reference.beside.begin() + written,
                                         reference.beside.end());
    EXPECT_EQ(describe(readBack), describe({DiskCall::OpenFolder, DiskCall::ListFolder}));
    const auto refreshed =
        std::count(reference.kinds.begin(), reference.kinds.end(), DiskCall::RefreshListing);
    if (mode.remote) {
        EXPECT_EQ(refreshed, 1) << describe(reference.kinds);
    }
}

// Every call of the read-back failed in turn, and with it either call of the
// run's listing that follows.
inline void sweepReadBack(const std::string& parent, const Scenario& scenario, const Mode& mode,
                          const SweepRun& reference, CallSweep::Overlap overlap) {
    expectReadsInTheSeam(reference, mode);
    const std::size_t written = landmarksOf(Stream::Beside, reference.beside).stepsEnd;
    for (std::size_t k = written + 1; k <= reference.beside.size(); ++k) {
        {
            SCOPED_TRACE("the read-back failed at call " + std::to_string(k));
            TempFolder folder(parent, scenario.files);
            TestRecords records;
            const Snapshot before = folder.snapshot();
            CallSweep sweep(k, CallSweep::kNever, Stream::Beside, overlap);
            // Another program brings a file meanwhile: it is listed, and not "Done".
            sweep.beforeFailing = [&] {
                std::ofstream(fileSystemPath(folder.path()) / "brought.txt", std::ios::binary)
                    << "another program's";
            };
            const SweepRun run = runWith(folder, records, scenario, mode, sweep);
            EXPECT_TRUE(listsAfter(run, reference)) << describe(run.kinds);
            EXPECT_EQ(run.result.outcome, RunOutcome::Completed);
            expectListSound(folder, run, afterMoves(before, scenario.moves));
            EXPECT_TRUE(std::find(run.listed.begin(), run.listed.end(), "brought.txt") !=
                        run.listed.end());
        }
        for (std::size_t listing = 1; listing <= 2; ++listing)
            failAt(parent, scenario, mode,
                   FailurePoint{Stream::Beside, k, reference.kinds.size() + listing, overlap},
                   reference, false);
    }
}

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
    SweepRun reference;
    {
        TempFolder folder(parent, scenario.files);
        TestRecords records;
        const Snapshot before = folder.snapshot();
        CallSweep sweep(CallSweep::kNever, CallSweep::kNever);
        reference = runWith(folder, records, scenario, mode, sweep);
        ASSERT_EQ(reference.result.outcome, RunOutcome::Completed)
            << describe(reference.result.news);
        EXPECT_EQ(folder.snapshot(), afterMoves(before, scenario.moves));
        expectListSound(folder, reference, afterMoves(before, scenario.moves));
    }
    // Before the first step every free new name is still free: there at
    // least, the entry of another program's must have been put.
    std::size_t failedBeside = 0;
    std::size_t crashedBeside = 0;
    for (const Stream stream : kStreams)
        for (std::size_t k = 1; k <= reference.of(stream).size(); ++k) {
            failAt(parent, scenario, mode, FailurePoint{stream, k}, reference, false);
            failedBeside +=
                failAt(parent, scenario, mode, FailurePoint{stream, k}, reference, true);
        }
    sweepReadBack(parent, scenario, mode, reference, CallSweep::Overlap::Serialised);
    const Landmarks run = landmarksOf(Stream::Run, reference.kinds);
    for (const Stream stream : kStreams) {
        const std::vector<DiskCall>& kinds = reference.of(stream);
        const std::size_t written = landmarksOf(Stream::Beside, reference.beside).stepsEnd;
        for (std::size_t k = stream == Stream::Run ? 0 : 1; k <= kinds.size(); ++k) {
            if (!newCrashPoint(kinds, k))
                continue;
            const bool stepsMade = stream == Stream::Run ? k >= run.stepsEnd : k > written;
            const CrashPoint at{stream, k, stepsMade};
            crashAfter(parent, scenario, mode, at, std::nullopt);
            crashedBeside += crashAfter(parent, scenario, mode, at, std::nullopt, true);
            if (nested != Nested::No && !(stream == Stream::Run && k >= run.completeAt))
                sweepRecovery(parent, scenario, mode, at, nested);
        }
    }
    if (someNewNameFree(scenario)) {
        EXPECT_GT(failedBeside, 0u) << "no call failed beside an entry of another program's";
        EXPECT_GT(crashedBeside, 0u) << "no crash was met beside an entry of another program's";
    }
}

// The same sweep with the two streams meeting the disk as the run makes
// them: the journal writer beside the folder's check, the read-back beside
// the last sync and the complete mark. Where they overlap, every call failed
// and crashed after, without recovery's own faults; ThreadSanitizer watches.
inline void sweepOverlap(const std::string& parent, const Scenario& scenario, const Mode& mode) {
    SCOPED_TRACE(std::string(scenario.label) + ", " + mode.label + ", overlapping, in " + parent);
    constexpr CallSweep::Overlap kOverlapping = CallSweep::Overlap::Overlapping;
    SweepRun reference;
    {
        TempFolder folder(parent, scenario.files);
        TestRecords records;
        CallSweep sweep(CallSweep::kNever, CallSweep::kNever, Stream::Run, kOverlapping);
        reference = runWith(folder, records, scenario, mode, sweep);
        ASSERT_EQ(reference.result.outcome, RunOutcome::Completed)
            << describe(reference.result.news);
    }
    sweepReadBack(parent, scenario, mode, reference, kOverlapping);
    const Landmarks run = landmarksOf(Stream::Run, reference.kinds);
    const std::size_t written = landmarksOf(Stream::Beside, reference.beside).stepsEnd;
    const auto sealed =
        std::find(reference.kinds.begin(), reference.kinds.end(), DiskCall::RenameRecord) -
        reference.kinds.begin();
    for (const Stream stream : kStreams) {
        const std::vector<DiskCall>& kinds = reference.of(stream);
        for (std::size_t k = 1; k <= kinds.size(); ++k) {
            const bool overlaps = stream == Stream::Beside ||
                                  k <= static_cast<std::size_t>(sealed) || k > run.stepsEnd;
            if (!overlaps)
                continue;
            failAt(parent, scenario, mode, FailurePoint{stream, k, 0, kOverlapping}, reference,
                   false);
            if (newCrashPoint(kinds, k)) {
                const bool stepsMade = stream == Stream::Run ? k >= run.stepsEnd : k > written;
                crashAfter(parent, scenario, mode, CrashPoint{stream, k, stepsMade, kOverlapping},
                           std::nullopt);
            }
        }
    }
}

} // namespace velmorandi::testing
