#pragma once

#include "platform/system_error.h"

#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

class RenameList;

struct [[nodiscard]] LoadOutcome {
    std::optional<SystemError> error; // set: the list was left as it was
    bool protectedFileListed = false; // the warning button should show
    bool programFolder = false;       // the folder the program runs from: no rename here
    // From the same read as the rows, for the folder list.
    std::vector<std::string> subfolders;
    // What else the folder holds, which no rename may take.
    std::vector<std::string> unshown;
    bool ignoresCase = false;
};

// Reads the folder once, loads the rename list from its files, then runs the
// protected-file guard, which the program's own folder fails as a whole.
LoadOutcome LoadFolder(RenameList& list, const std::string& folder);

} // namespace velmorandi
