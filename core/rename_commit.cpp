#include "rename_commit.h"

#include "run/rename_run.h"

namespace velmorandi {

const char* const kRenameRefusedMessage =
    "Could not invoke rename process. Some edited filename conflicts with Microsoft Windows "
    "filenaming conventions.\r\n\r\n"
    "Also check edited filename for no duplicacy and no blank wherever status is marked for "
    "error.";

const char* const kNameTakenMessage =
    "Could not invoke rename process. Some edited filename is already taken by another file or "
    "folder in this folder.\r\n\r\n"
    "Choose another name wherever status is marked for error.";

CommitOutcome CommitRename(RenameList& list, const std::string& folder) {
    return CommitRename(list, folder, RenameSeam());
}

// The run's three stages, one after the other on the caller's thread.
CommitOutcome CommitRename(RenameList& list, const std::string& folder, const RenameSeam& seam) {
    auto prepared = PrepareRename(list, folder);
    if (auto* outcome = std::get_if<CommitOutcome>(&prepared))
        return std::move(*outcome);
    RunControl control;
    control.seam = seam;
    return FinishRun(list, folder, ExecuteRun(std::get<RunRequest>(std::move(prepared)), control));
}

} // namespace velmorandi
