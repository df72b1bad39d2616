#pragma once

#include "platform/folder_access.h"
#include "platform/run_platform.h"
#include "run/journal.h"
#include "run/rename_run.h"
#include "run/run_plan.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// A folder opened for a run, with what the run needs to know of it. Its
// entries are not read: a run checks them in one pass (preflight.h), and
// recovery, which needs all of them, reads them itself.
struct OpenedFolder {
    platform::FolderHandle handle;
    platform::FileIdentity identity;
    platform::FileSystemTraits traits;
    std::vector<platform::FolderEntry> entries;
};
std::optional<SystemError> openFolder(const std::string& path, const RunTesting& testing,
                                      OpenedFolder& folder);

// The one way files are renamed: pre-flight, plan, journal, steps, sync, read
// the folder again. Renames, undos and rollbacks differ only in `kind`.
struct EngineRun {
    std::string folder;
    std::vector<PlannedMove> moves;
    Journal::Kind kind = Journal::Kind::Rename;
    std::string subject; // the journal an undo or rollback reverses
    // Set where the caller reads the folder back itself once the run completes.
    bool callerReadsBack = false;
    // Called once the run is planned, before its journal is written: work for
    // after the run can take the other core while this one waits for the disk.
    std::function<void()> planMade = nullptr;
    // Called once every step is done, before the folder is synced: work that
    // reads the folder can go on while the sync waits on the disk.
    std::function<void()> afterLastStep = nullptr;
};
RunResult runMoves(EngineRun run, const RunControl& control);

} // namespace velmorandi
