#pragma once

#include "folder_listing.h"
#include "rename_commit.h"
#include "run/run_plan.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A rename run in three stages, so that the disk work can leave the window's
// thread: Prepare (window thread: the checks, a copy of what to move), Execute
// (any thread: pre-flight, plan, journal, steps, sync, read the folder again),
// Finish (window thread: the result goes into the list).
namespace velmorandi {

class RenameList;

// What a run needs, read from the list without copying a name: the window
// keeps reading the list while the run works, and changes nothing in it
// (input is held) until FinishRun. Each move's names lie in the list (or the
// caller's own names); the engine carries out these very moves.
struct RunRequest {
    std::string folder;
    std::vector<PlannedMove> moves; // changed rows only, in row order
    // The list the moves came from. Given, a completed run puts the rows' new
    // names in order in memory instead of listing the folder afresh.
    const RenameList* rows = nullptr;
};

// Tests only: steers what the file system would decide, and stands in for a crash.
struct RunTesting {
    bool noExchange = false;   // park one file of each cycle under a temporary name
    bool ignoreCase = false;   // treat the folder as one that ignores letter case
    bool noIdentities = false; // as where file numbers do not last (FAT, FUSE): implies noExchange
    // Abandons the run after this many steps, as a crash would: no rollback, journal left.
    std::size_t abandonAfter = static_cast<std::size_t>(-1);
};

// How the window follows and steers a run from another thread.
struct RunControl {
    // Called on the run's thread as steps complete; total is this run's step count.
    std::function<void(std::size_t done, std::size_t total)> progress;
    // Read between steps: once set, the run stops, rolls back and reports Cancelled.
    const std::atomic<bool>* cancel = nullptr;
    // Tests only: stands in for every step that touches the disk; for a swap
    // of two names its `rename` argument is the atomic exchange.
    RenameSeam seam;
    RunTesting testing;
};

struct RunResult {
    enum class Kind {
        NameTaken, // a target is held by an entry the run does not move: errorRows, nothing touched
        Failed,    // a step failed; what was done has been rolled back (or message says what not)
        Cancelled, // stopped on request and rolled back
        Completed  // every file renamed
    };
    Kind kind = Kind::Failed;
    std::string message;                // empty: nothing to tell the user
    std::vector<std::size_t> errorRows; // rows to mark "Err!"
    // The folder as read after the run; not read (error set) when nothing was touched.
    FolderListing reloaded;
    // Names that the reloaded folder must show after a completed run.
    std::vector<std::string> expectedNames;
    // Set instead of `reloaded` when the folder held exactly the rows' new
    // names: the old row numbers in the new rows' order.
    std::optional<std::vector<std::uint32_t>> order;
    // With `order`: the protected-file guard's verdict on the new names.
    bool protectedFileListed = false;
};

// Window thread. Runs both checks, marking "Err!"; a refusal (or an empty run's
// completion) comes back as a CommitOutcome, anything else as the request.
std::variant<CommitOutcome, RunRequest> PrepareRename(RenameList& list, const std::string& folder);

// Any thread. Never replaces a file; all or nothing, also across a crash.
RunResult ExecuteRun(RunRequest request, const RunControl& control);

// Window thread. Brings a rename's or an undo's result into the list: the marks
// of a refusal, or the reloaded rows with every row "Done".
CommitOutcome FinishRun(RenameList& list, const std::string& folder, RunResult result);

// The last completed run in this folder can still be undone.
bool CanUndo(const std::string& folder);
// Any thread. Undoes that run: planned, journaled, all or nothing, like a rename.
RunResult ExecuteUndo(const std::string& folder, const RunControl& control);

// Start-up, before any folder is loaded, by the instance that holds the lock:
// rolls back every run that a crash, a kill or a power loss left unfinished.
struct RecoveryReport {
    std::string message; // empty: no run was left unfinished
};
RecoveryReport RecoverInterruptedRuns(const RunControl& control);

} // namespace velmorandi
