#pragma once

#include "system_error.h"

#include <optional>
#include <string>

namespace velmorandi {

class RenameList;

struct LoadOutcome {
    std::optional<SystemError> error; // set: the list was left as it was
    bool protectedFileListed = false; // the warning button should show
};

// Lists the folder, loads the rename list from it, then runs the protected-file guard.
LoadOutcome LoadFolder(RenameList& list, const std::string& folder);

} // namespace velmorandi
