#pragma once

#include "platform/record_files.h"
#include "run/journal.h"
#include "run/run_engine.h"

#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// A stopped or interrupted run taken back from the disk as it is now: its
// files are found, what a step left half-way is removed, and the files get
// their listed names back through a run of their own. The run's record goes
// only once the folder, read again, shows every file under its listed name.
struct Restoration {
    enum class Outcome {
        Whole,          // every file has its listed name; the record is gone
        InPart,         // some files could not get theirs: `stillRenamed`, `missing`
        FolderAway,     // the folder cannot be reached: `error`
        FolderReplaced, // another folder has its place
        Unproven,       // the disk does not show where the files are: nothing renamed
        Failed          // a call failed on the way: `error`, `stillRenamed`
    };
    Outcome outcome = Outcome::Failed;
    std::size_t restored = 0;
    std::vector<std::string> stillRenamed; // "listed is now current"
    std::vector<std::string> missing;      // listed names of files not found
    SystemError error;
};

// `record` holds the run's record under `recordName`; `folder` is where the
// run's folder is now (the journal's own path, or where it was moved to).
// `stepsDone`: where the run that stopped says how far it got.
Restoration restoreRun(const Journal& journal, platform::RecordFile& record,
                       const std::string& recordName, const std::string& folder,
                       std::optional<RenameWay> way, const RunContext& context,
                       std::optional<std::size_t> stepsDone = std::nullopt);

// A rollback that completed: the run it took back has every file under its
// listed name, checked by reading the folder, and both records go. Where the
// folder does not show that, both stay.
void finishRolledBack(const std::string& rollbackRecord, const JournalHeader& rollback,
                      const RunContext& context);

// A rename, undo or redo, all or nothing: stopped part-way, it is taken back
// at once, and where that cannot be done its record waits for the next start.
RunResult runAllOrNothing(EngineRun run, const RunContext& context);

} // namespace velmorandi
