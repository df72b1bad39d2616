#pragma once

#include "platform/record_files.h"
#include "run/journal.h"
#include "run/locate.h"
#include "run/run_engine.h"

#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// A stopped or interrupted run taken back from the disk as it is now: its
// files are found, what a step left half-way is removed, and the files get
// their listed names back through a run of their own. The run's record goes
// only once its own folder, read again, shows every file under its listed
// name: a copy of the folder, put right, never ends it.
struct [[nodiscard]] Restoration {
    enum class Outcome {
        Whole, // every file has its listed name; the record is gone, unless `recordLeft`
        // Every file already bears its new name: the run had finished, and
        // nothing is taken back; what becomes of the record is the caller's.
        Finished,
        // Every file of this folder, another of the journaled one's volume, has
        // its listed name; the record waits for the journaled folder itself.
        WholeElsewhere,
        InPart,         // some files could not get theirs: `stillRenamed`, `missing`
        FolderAway,     // the folder cannot be reached: `error`
        FolderReplaced, // another folder has its place, or one that shows no step of the run
        Unproven,       // the disk does not show where the files are: nothing renamed
        // `unmarked` was left as it is, maybe the run's placeholder, maybe
        // not; the files it holds nothing back from got their listed names;
        // the record stays.
        Undecided,
        Failed // a call failed on the way: `failure`, `stillRenamed`
    };
    Outcome outcome = Outcome::Failed;
    FolderMatch match = FolderMatch::Other;
    std::size_t restored = 0;
    std::vector<NameNow> stillRenamed;
    std::vector<std::string> missing; // listed names of files not found
    SystemError error;
    RunFailure failure;
    // Unproven: the entry that kept the names from telling, left as it is.
    std::optional<Located::Foreign> foreign;
    // Undecided, Unproven: the empty or cut-short file left as it is.
    std::optional<std::string> unmarked;
    // Whole: the record could not be removed; it is tried again at the next start.
    std::optional<SystemError> recordLeft;
};

// `record` holds the run's record under `recordName`; `folder` is where the
// run's folder is now (the journal's own path, or where it was moved to).
// `stepsDone`: where the run that stopped says how far it got. `removable`:
// the unmarked entry the user had removed, which goes only where it is proven
// again, just before, to be that.
Restoration restoreRun(const Journal& journal, platform::RecordFile& record,
                       const std::string& recordName, const std::string& folder,
                       std::optional<RenameWay> way, const RunContext& context,
                       std::optional<std::size_t> stepsDone = std::nullopt,
                       const std::optional<std::string>& removable = std::nullopt);

// A rollback that completed: the run it took back has every file under its
// listed name, checked by reading its own folder, and both records go. Where
// the folder does not show that, both stay; where the rollback was made in
// another folder, only its own record goes.
void finishRolledBack(const std::string& rollbackRecord, const JournalHeader& rollback,
                      const RunContext& context);

// A rename, undo or redo, all or nothing: stopped part-way, it is taken back
// at once, and where that cannot be done its record waits for the next start.
RunResult runAllOrNothing(EngineRun run, const RunContext& context);

} // namespace velmorandi
