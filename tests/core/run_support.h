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
#include <thread>
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
    case DiskCall::RefreshListing:
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

// A run's calls come in two streams: those of the thread that runs it, and
// those of the work it lends to the other core (the journal writer, then the
// read-back), whose own calls never overlap. Each stream is numbered on its
// own, so that call k of a stream is the same call in every run, however the
// two interleave.
enum class Stream : std::uint8_t { Run, Beside };
inline constexpr Stream kStreams[]{Stream::Run, Stream::Beside};

inline const char* nameOf(Stream stream) {
    return stream == Stream::Run ? "run" : "beside";
}

// Every call counted in its stream; the one numbered `failing` fails, and
// once the call numbered `stopAfter` is made no call of either stream reaches
// the disk, as when the process is killed or the drive pulled out.
// `beforeFailing`, where set, runs just before the failing call fails.
// Serialised, one call reaches the disk at a time; Overlapping, the two
// streams' calls meet the disk as the run makes them, and only the counting
// is locked.
class CallSweep {
  public:
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);
    enum class Overlap { Serialised, Overlapping };
    CallSweep(std::size_t failing, std::size_t stopAfter, Stream stream = Stream::Run,
              Overlap overlap = Overlap::Serialised)
        : m_stream(stream), m_failing(failing), m_stopAfter(stopAfter), m_overlap(overlap),
          m_crashed(stopAfter == 0) {}
    // A crash right after the `nth` call of a kind (counted from 1): "after
    // the 3rd rename", wherever reads and syncs fall around it.
    CallSweep(std::function<bool(DiskCall)> kind, std::size_t nth) : CallSweep(kNever, kNever) {
        m_kind = std::move(kind);
        m_nth = nth;
    }
    // The call numbered `number` of `stream` fails as well.
    void alsoFail(Stream stream, std::size_t number) { m_alsoFailing.push_back({stream, number}); }

    DiskSeam seam() {
        return [this](DiskCall call, std::string_view, std::string_view,
                      const std::function<std::optional<SystemError>()>& perform)
                   -> std::optional<SystemError> {
            std::unique_lock lock(m_mutex);
            const Verdict verdict = count(call);
            if (m_overlap == Overlap::Overlapping)
                lock.unlock();
            if (verdict.fails && verdict.failing && beforeFailing)
                beforeFailing();
            if (verdict.fails || m_crashed.load())
                return kInjected;
            std::optional<SystemError> error = perform();
            if (verdict.crashAfter)
                m_crashed.store(true);
            return error;
        };
    }
    std::function<void()> beforeFailing;
    std::size_t calls(Stream stream = Stream::Run) const {
        const std::lock_guard lock(m_mutex);
        return of(stream).size();
    }
    // The calls of a stream as they came, for what a test expects of one of them.
    std::vector<DiskCall> kinds(Stream stream = Stream::Run) const {
        const std::lock_guard lock(m_mutex);
        return of(stream);
    }

  private:
    struct Verdict {
        bool fails = false;
        bool failing = false; // the one call the sweep is after, not one failed beside it
        bool crashAfter = false;
    };
    struct CallAt {
        Stream stream;
        std::size_t number;
    };
    Stream streamHere() const {
        return std::this_thread::get_id() == m_runThread ? Stream::Run : Stream::Beside;
    }
    std::vector<DiskCall>& of(Stream stream) { return m_kinds[static_cast<std::size_t>(stream)]; }
    const std::vector<DiskCall>& of(Stream stream) const {
        return m_kinds[static_cast<std::size_t>(stream)];
    }
    Verdict count(DiskCall call) {
        const Stream stream = streamHere();
        std::vector<DiskCall>& calls = of(stream);
        calls.push_back(call);
        const std::size_t number = calls.size();
        Verdict verdict;
        verdict.failing = stream == m_stream && number == m_failing;
        verdict.fails =
            verdict.failing ||
            std::any_of(m_alsoFailing.begin(), m_alsoFailing.end(), [&](const CallAt& at) {
                return at.stream == stream && at.number == number;
            });
        verdict.crashAfter = (stream == m_stream && number == m_stopAfter) ||
                             (m_kind && m_kind(call) && ++m_ofKind == m_nth);
        return verdict;
    }

    const std::thread::id m_runThread = std::this_thread::get_id();
    Stream m_stream;
    std::size_t m_failing;
    std::size_t m_stopAfter;
    Overlap m_overlap;
    std::vector<CallAt> m_alsoFailing;
    std::function<bool(DiskCall)> m_kind;
    std::size_t m_nth = 0;
    std::size_t m_ofKind = 0;
    mutable std::mutex m_mutex;
    std::atomic<bool> m_crashed;
    std::vector<DiskCall> m_kinds[2];
};

} // namespace velmorandi::testing
