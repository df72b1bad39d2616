#pragma once

#include "folder_listing.h"
#include "rename_list.h"
#include "run/run_facts.h"
#include "run/run_plan.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The rename run's front door: rename, undo, redo and recovery, each all or
// nothing, also across a crash, and none ever replacing a file.
//
// Threads. A rename passes through three stages:
//   prepare - the window's thread: PrepareRename checks the edited names and
//             makes the request, whose moves point into the rename list, lent
//             to it (LentList) until the run is done;
//   execute - a worker (the window's BackgroundRun): ExecuteRun, and likewise
//             ExecuteUndo, ExecuteRedo, RecoverInterruptedRuns and
//             RecoverMovedRun, which need no stage before or after;
//   finish  - the window's thread: FinishRun brings the result into the list.
// While it executes, a run lends work to the other core through
// platform::BackgroundTask, each task joined before the run returns:
//   JournalWriter   writes the header and the moves' names while the folder
//                   is checked, and the plan once it is made;
//   ReadBack        orders the new names and runs the protected-file guard on
//                   them while the steps run, then reads the folder back
//                   while it is synced;
//   DirectoryReadAhead (platform) reads a large folder a chunk ahead.
// The rename list cannot change while the run holds its lease: a change ends
// the program. The window holds its input back meanwhile, and FinishRun
// compares the list's generation.
namespace velmorandi {

class JournalStore;
struct RunTesting;

// What a rename moves, read from the list without copying a name.
struct RunRequest {
    std::string folder;
    std::vector<PlannedMove> moves; // changed rows only, in row order; names lie in `rows`
    LentList rows = {};             // held until the run, its rollback included, is done
    std::uint64_t generation = 0;   // the list's, when the moves were taken
};

enum class RunOutcome {
    Refused,   // a check failed: "Err!" rows, nothing touched
    NameTaken, // a new name is held by an entry the run does not move: "Err!" rows, nothing touched
    Failed,    // nothing renamed, or what was renamed has its name back (or the news says what not)
    Cancelled, // stopped on request; as Failed
    Completed  // every file renamed
};

// The folder after a run, as the list should show it.
struct FolderNotRead {}; // the list shows the folder as it is: nothing moved, or all moved back
struct RowsInOrder {     // the folder holds exactly the rows' new names
    std::vector<std::uint32_t> order; // old row numbers in the new rows' order
    bool protectedFileListed = false;
    std::uint64_t generation = 0; // the list's when the run was prepared
};
struct FolderListed { // read anew: another program changed it, or not every file got its name back
    FolderListing listing;
    std::vector<std::string> expectedNames;    // names a completed run must have left there
    std::vector<std::string> formerNames = {}; // what each of them was called before the run
};
using FolderAfterRun = std::variant<FolderNotRead, RowsInOrder, FolderListed>;

struct [[nodiscard]] RunResult {
    RunOutcome outcome = RunOutcome::Failed;
    RunNews news; // None: nothing to tell the user
    std::vector<std::size_t> errorRows;
    FolderAfterRun folder;
};

// How the window follows a run; called on the run's thread.
class RunObserver {
  public:
    virtual ~RunObserver() = default;
    // A rollback of an interrupted run begins in this folder.
    virtual void restoringFolder(const std::string& folder) { static_cast<void>(folder); }
    // `done` of this run's `total` steps are made.
    virtual void stepsDone(std::size_t done, std::size_t total) {
        static_cast<void>(done), static_cast<void>(total);
    }
    // The same for the rollback of a run that stopped: names put back.
    virtual void rollbackStepsDone(std::size_t done, std::size_t total) { stepsDone(done, total); }
    // Before its first step, a rollback finds the run's files on the disk:
    // `done` of `total` are checked.
    virtual void rollbackFilesChecked(std::size_t done, std::size_t total) {
        static_cast<void>(done), static_cast<void>(total);
    }
};

struct RunControl {
    // Where the runs' records are kept; a store with a problem refuses every run.
    const JournalStore* records = nullptr;
    RunObserver* observer = nullptr;
    // Read between steps: once set, a rename or undo stops and rolls back.
    const std::atomic<bool>* cancel = nullptr;
    const RunTesting* testing = nullptr; // tests only (run_testing.h)
};

// Window thread. Runs both checks, marking "Err!"; a refusal comes back as
// a result, anything else as the request.
std::variant<RunResult, RunRequest> PrepareRename(RenameList& list, const std::string& folder);

// Any thread.
RunResult ExecuteRun(RunRequest request, const RunControl& control);

// Window thread. Brings a rename's, undo's or redo's result into the list:
// the marks of a refusal ("Err!" rows, with the cause where a name is taken
// on disk), the rows in their new order with every row "Done", or the folder
// listed anew. May add to the result's news.
struct ListChange {
    bool reloaded = false;
    bool protectedFileListed = false; // the guard's verdict on the rows now listed
};
ListChange FinishRun(RenameList& list, const std::string& folder, RunResult& result);

// The last completed rename of the folder can be undone; the last undo,
// redone. Any thread; as the records were last read, unless they changed
// since: an offer, which the undo or redo checks again.
bool CanUndo(const std::string& folder, const RunControl& control);
bool CanRedo(const std::string& folder, const RunControl& control);
// Any thread. Each is a run of its own: planned, journaled, all or nothing.
RunResult ExecuteUndo(const std::string& folder, const RunControl& control);
RunResult ExecuteRedo(const std::string& folder, const RunControl& control);

// Any thread, before a folder is listed. Rolls back every run that a crash, a
// kill or a power loss left unfinished, unless another process is running
// it; reports what it did, and every record it could not use.
struct [[nodiscard]] RecoveryReport {
    std::vector<RecoveryNote> notes;
    // Nothing could be recovered: the folder of records cannot be trusted.
    std::optional<platform::RecordFolderProblem> recordsUnusable;
    bool empty() const { return notes.empty() && !recordsUnusable; }
};
RecoveryReport RecoverInterruptedRuns(const RunControl& control);
// The same for a run whose folder was moved after the crash: where `folder`
// is that folder, found by its identity, the run is rolled back there.
RecoveryReport RecoverMovedRun(const std::string& folder, const RunControl& control);
// The user's answer to a LeftUnmarked note of RecoverInterruptedRuns: its
// entry goes, where it is proven again just before to be that empty or
// cut-short file, and the run is taken back; then every other record is
// recovered as at a start. Its record goes once the folder is whole.
RecoveryReport RemoveUnmarkedAndRecover(const RecoveryNote& note, const RunControl& control);

} // namespace velmorandi
