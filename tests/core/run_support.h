#pragma once

#include "rename_list.h"
#include "run/journal_store.h"
#include "run/run.h"
#include "run/run_testing.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// What the run's tests share: records of their own, the rename as the window
// makes it, and seams over the calls that change the disk.
namespace velmorandi::testing {

// A folder of records for one test alone: no test meets another's journals.
class TestRecords {
  public:
    TestRecords() : m_store(JournalStore::at(m_parent.at("records"))) {
        EXPECT_FALSE(m_store.problem());
    }
    const JournalStore& store() const { return m_store; }
    std::string path() const { return m_parent.at("records"); }
    RunControl control(const RunTesting* testing = nullptr) const {
        RunControl control;
        control.records = &m_store;
        control.testing = testing;
        return control;
    }
    // Every entry of the folder, records or not, by name alone: an entry may be a pipe.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(fileSystemPath(path())))
            names.push_back(pathBytes(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    TempFolder m_parent;
    JournalStore m_store;
};

// A run that a crash, a kill or a seam cuts short: what it returns is never seen.
inline void runCutShort(RunRequest request, const RunControl& control) {
    static_cast<void>(ExecuteRun(std::move(request), control));
}

// What a rename leaves for the window: its outcome and news, and how the list changed.
struct Committed {
    RunOutcome outcome = RunOutcome::Failed;
    RunNews news;
    bool listReloaded = false;
    bool protectedFileListed = false;
};

// The three stages one after the other, as the window runs them.
inline Committed CommitRename(RenameList& list, const std::string& folder,
                              const RunControl& control) {
    auto prepared = PrepareRename(list, folder);
    RunResult result = std::holds_alternative<RunResult>(prepared)
                           ? std::get<RunResult>(std::move(prepared))
                           : ExecuteRun(std::get<RunRequest>(std::move(prepared)), control);
    const ListChange change = FinishRun(list, folder, result);
    return {result.outcome, result.news, change.reloaded, change.protectedFileListed};
}

// Facts of a run's news and of recovery's notes, for a failing test to print.
inline std::string describe(const RunFailure& failure) {
    return "failure " + std::to_string(static_cast<int>(failure.kind)) + " " + failure.folder +
           " " + failure.from + " -> " + failure.to + " (" + std::to_string(failure.error.code) +
           " " + failure.error.reason + ")";
}

inline std::string describe(const RunNews& news) {
    return "news " + std::to_string(static_cast<int>(news.kind)) + ", " + describe(news.failure);
}

inline std::string describe(const RecoveryReport& report) {
    std::string text = report.recordsUnusable
                           ? "records unusable: " + report.recordsUnusable->folder
                           : std::string();
    for (const RecoveryNote& note : report.notes)
        text += "\nnote " + std::to_string(static_cast<int>(note.kind)) + " " + note.folder + " " +
                note.record + " (" + std::to_string(note.error.code) + " " + note.error.reason +
                ") " + describe(note.failure);
    return text;
}

// The notes recovery gave of one kind.
inline std::size_t notesOf(const RecoveryReport& report, RecoveryNote::Kind kind) {
    return static_cast<std::size_t>(
        std::count_if(report.notes.begin(), report.notes.end(),
                      [kind](const RecoveryNote& note) { return note.kind == kind; }));
}

// Whether recovery met trouble: a file that could not get its name back, or
// a record that could not be read, used, removed or marked.
inline bool troubled(const RecoveryReport& report) {
    using Kind = RecoveryNote::Kind;
    return report.recordsUnusable ||
           std::any_of(report.notes.begin(), report.notes.end(), [](const RecoveryNote& note) {
               switch (note.kind) {
               case Kind::Restored:
               case Kind::RestoredElsewhere:
               case Kind::FolderAway:
               case Kind::FolderReplaced:
               case Kind::Unproven:
               case Kind::LeftForeign:
               case Kind::FinishedButDamaged:
               case Kind::RunningElsewhere:
                   return false;
               case Kind::RestoredInPart:
                   return !note.stillRenamed.empty();
               default:
                   return true;
               }
           });
}

// The calls that rename a file of the folder, as opposed to the records' calls.
inline bool renamesAFile(DiskCall call) {
    return call == DiskCall::Rename || call == DiskCall::Exchange || call == DiskCall::Link ||
           call == DiskCall::RenameOntoPlaceholder;
}

// The calls that only read: a crash right after one leaves the disk as a
// crash right before it does.
inline bool onlyReads(DiskCall call) {
    switch (call) {
    case DiskCall::ListRecords:
    case DiskCall::OpenRecord:
    case DiskCall::ReadRecord:
    case DiskCall::OpenFolder:
    case DiskCall::ListFolder:
    case DiskCall::EntryStatus:
    case DiskCall::ReadEntry:
    case DiskCall::AskHolders:
    case DiskCall::RecordFolderStatus:
        return true;
    default:
        return false;
    }
}

// A crash after the first `made` calls of `kinds` that is not one after fewer.
inline bool newCrashPoint(const std::vector<DiskCall>& kinds, std::size_t made) {
    return made == 0 || made > kinds.size() || !onlyReads(kinds[made - 1]);
}

// One kind of call, for counting: "the 2nd sync of the folder".
inline std::function<bool(DiskCall)> callsOf(DiskCall kind) {
    return [kind](DiskCall call) { return call == kind; };
}

using Calls = std::vector<std::pair<std::string, std::string>>;
const SystemError kInjected{EIO, "Input/output error"};

// Records every call that renames a file, and lets the failing ones (1-based
// among those calls) fail.
inline DiskSeam recordingRenames(Calls& calls, std::vector<std::size_t> failing = {}) {
    return [&calls, failing](DiskCall call, std::string_view a, std::string_view b,
                             const std::function<std::optional<SystemError>()>& perform)
               -> std::optional<SystemError> {
        if (!renamesAFile(call))
            return perform();
        calls.emplace_back(a, b);
        if (std::find(failing.begin(), failing.end(), calls.size()) != failing.end())
            return kInjected;
        return perform();
    };
}

// Runs `before` ahead of every call that renames a file.
inline DiskSeam
beforeEachRename(std::function<void(std::string_view from, std::string_view to)> before) {
    return [before](DiskCall call, std::string_view a, std::string_view b,
                    const std::function<std::optional<SystemError>()>& perform) {
        if (renamesAFile(call))
            before(a, b);
        return perform();
    };
}

// Every call counted; the one numbered `failing` fails, and from `stopAfter`
// on no call reaches the disk, as when the process is killed or the drive
// pulled out. Calls are counted across threads. `beforeFailing`, where set,
// runs just before the failing call fails.
class CallSweep {
  public:
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);
    CallSweep(std::size_t failing, std::size_t stopAfter)
        : m_failing(failing), m_stopAfter(stopAfter) {}
    // A crash right after the `nth` call of a kind (counted from 1): "after
    // the 3rd rename", wherever reads and syncs fall around it.
    CallSweep(std::function<bool(DiskCall)> kind, std::size_t nth)
        : m_failing(kNever), m_stopAfter(kNever), m_kind(std::move(kind)), m_nth(nth) {}
    DiskSeam seam() {
        return [this](DiskCall call, std::string_view, std::string_view,
                      const std::function<std::optional<SystemError>()>& perform)
                   -> std::optional<SystemError> {
            const std::lock_guard lock(m_mutex);
            const std::size_t number = ++m_calls;
            m_kinds.push_back(call);
            if (m_kind && m_kind(call) && ++m_ofKind == m_nth)
                m_stopAfter = number;
            if (number == m_failing && beforeFailing)
                beforeFailing();
            if (number == m_failing || number > m_stopAfter)
                return kInjected;
            return perform();
        };
    }
    std::function<void()> beforeFailing;
    std::size_t calls() const { return m_calls; }
    // The calls as they came, for what a test expects of one of them.
    const std::vector<DiskCall>& kinds() const { return m_kinds; }

  private:
    std::size_t m_failing;
    std::size_t m_stopAfter;
    std::function<bool(DiskCall)> m_kind;
    std::size_t m_nth = 0;
    std::size_t m_ofKind = 0;
    std::mutex m_mutex;
    std::size_t m_calls = 0;
    std::vector<DiskCall> m_kinds;
};

} // namespace velmorandi::testing
