#pragma once

#include "folder_listing.h"
#include "platform/file_system.h"
#include "platform/folder_access.h"
#include "platform/record_files.h"
#include "run/disk.h"
#include "run/journal.h"
#include "run/run.h"
#include "run/step_executor.h"

#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// A folder opened for a run, with what the run needs to know of it.
struct OpenedFolder {
    platform::FolderHandle handle;
    platform::FileIdentity identity;
    std::string volume;
    platform::FileSystemTraits traits;
};
// How a folder, opened at `path`, stands to the one a journal was written in.
enum class FolderMatch {
    // The journaled folder itself: on its volume, where the volumes are
    // known, its number where numbers last, its birth where both sides know
    // it, else its path.
    Own,
    // Another folder of the journaled one's volume: a copy, or the folder
    // moved; nothing tells which.
    SameVolume,
    // Another volume, number or birth, or a volume not known.
    Other
};
FolderMatch matchFolder(const JournalHeader& journaled, const std::string& path,
                        const OpenedFolder& folder);

// What every run works with besides its moves, made once from the window's
// RunControl.
struct RunContext {
    explicit RunContext(const RunControl& control);
    const JournalStore* records;
    Disk disk;
    RunObserver* observer;
    const std::atomic<bool>* cancel;
    const RunTesting* testing;
};

[[nodiscard]] std::optional<SystemError>
openFolder(const std::string& path, const RunContext& context, OpenedFolder& folder);

// The folder's files as the list shows them, read through the run's seam.
FolderListing listFolder(const std::string& folder, const Disk& disk);

// Why a run or rollback stops once the records it acts on are not, or may not
// be, this process's (`standing` is not Held): the folder is the holder's now.
RunFailure handedOverFailure(platform::LeaseStanding standing, const JournalStore& records);

// The one way files are renamed: pre-flight, plan, journal, steps, sync,
// the complete mark. Renames, undos, redos and rollbacks differ only in `kind`.
struct EngineRun {
    std::string folder;
    std::vector<PlannedMove> moves;
    Journal::Kind kind = Journal::Kind::Rename;
    std::string subject; // the record an undo or rollback takes back
    // A rename's rows: given, the new names are ordered and the folder read
    // back beside the run, so the list need not be loaded again.
    LentList rows;
    std::uint64_t generation = 0;
    std::optional<RenameWay> way; // learned by an earlier run in the folder
    // A rollback's: the record of the run it takes back, which must stay this
    // process's as long as the rollback changes anything.
    platform::RecordFile* subjectRecord = nullptr;
};

// A run stopped after its record was sealed: what its rollback needs.
struct StoppedRun {
    Journal journal;
    platform::RecordFile record; // held: no other process takes it meanwhile
    std::string recordName;
    RenameWay way = RenameWay::NoReplaceFlag;
    std::size_t stepsDone = 0; // as far as the run knows: a step that failed is not among them
    RunFailure failure;        // why it stopped
};

struct [[nodiscard]] EngineOutcome {
    // Completed; a refusal before anything was touched; or, with `stopped`,
    // the outcome and news to give once every file has its name back.
    RunResult result;
    std::optional<StoppedRun> stopped;
    // A completed run's record; empty where it could not be marked complete.
    std::string recordName;
    // Refused or stopped: why.
    RunFailure failure;
};
EngineOutcome runMoves(EngineRun run, const RunContext& context);

} // namespace velmorandi
