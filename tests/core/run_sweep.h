#pragma once

#include "run/journal_store.h"
#include "run/rename_run.h"
#include "run_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

// Runs that chain, swap, ring and change letter case, each failed at every
// step and crashed after every step.
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

struct Mode {
    const char* label;
    bool noExchange = false;
    bool noIdentities = false;
};
inline const Mode kModes[]{{"exchange"}, {"temporary names", true}, {"names only", true, true}};

inline RunControl controlFor(const Scenario& scenario, const Mode& mode) {
    RunControl control;
    control.testing.ignoreCase = scenario.ignoreCase;
    control.testing.noExchange = mode.noExchange;
    control.testing.noIdentities = mode.noIdentities;
    return control;
}

// Counts the steps and lets the chosen one (1-based) fail.
inline RenameSeam failingAt(std::size_t& calls, std::size_t failing) {
    return [&calls, failing](const std::string& from, const std::string& to,
                             const RenameFunction& step) -> std::optional<SystemError> {
        if (++calls == failing)
            return SystemError{EIO, "Input/output error"};
        return step(from, to);
    };
}

// For every step k: a failure at k, and a crash after k followed by recovery,
// each leave the folder exactly as it was.
inline void sweep(const std::string& parent, const Scenario& scenario, const Mode& mode) {
    SCOPED_TRACE(std::string(scenario.label) + ", " + mode.label + ", in " + parent);
    std::size_t steps = 0;
    {
        RunFolder folder(parent, scenario.files);
        const Snapshot before = folder.snapshot();
        RunControl control = controlFor(scenario, mode);
        control.seam = failingAt(steps, 0);
        const RunResult result = ExecuteRun(folder.request(scenario.moves), control);
        if (!scenario.taken.empty()) {
            EXPECT_EQ(result.kind, RunResult::Kind::NameTaken);
            EXPECT_EQ(result.errorRows, scenario.taken);
            EXPECT_EQ(steps, 0u);
            EXPECT_EQ(folder.snapshot(), before);
            JournalStore store; // the journal begun beside the check is given up
            ASSERT_FALSE(store.open());
            for (const JournalStore::Entry& entry : store.list())
                EXPECT_NE(entry.header.folder, folder.path()) << entry.name;
            return;
        }
        ASSERT_EQ(result.kind, RunResult::Kind::Completed) << result.message;
        EXPECT_EQ(folder.snapshot(), afterMoves(before, scenario.moves));
    }
    for (std::size_t k = 1; k <= steps; ++k) {
        SCOPED_TRACE("failure at step " + std::to_string(k));
        RunFolder folder(parent, scenario.files);
        const Snapshot before = folder.snapshot();
        RunControl control = controlFor(scenario, mode);
        std::size_t calls = 0;
        control.seam = failingAt(calls, k);
        const RunResult result = ExecuteRun(folder.request(scenario.moves), control);
        EXPECT_EQ(result.kind, RunResult::Kind::Failed);
        EXPECT_NE(result.message.find("No file has been renamed"), std::string::npos)
            << result.message;
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_EQ(RecoverInterruptedRuns(control).message, ""); // nothing left behind
    }
    for (std::size_t k = 0; k <= steps; ++k) {
        SCOPED_TRACE("crash after step " + std::to_string(k));
        RunFolder folder(parent, scenario.files);
        const Snapshot before = folder.snapshot();
        RunControl control = controlFor(scenario, mode);
        control.testing.abandonAfter = k;
        ExecuteRun(folder.request(scenario.moves), control);
        control.testing.abandonAfter = static_cast<std::size_t>(-1);
        const std::string report = RecoverInterruptedRuns(control).message;
        EXPECT_NE(report.find(folder.path()), std::string::npos) << report;
        EXPECT_EQ(report.find("could not"), std::string::npos) << report;
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_EQ(RecoverInterruptedRuns(control).message, "");
    }
}

} // namespace velmorandi::testing
