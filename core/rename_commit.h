#pragma once

#include "platform/system_error.h"

#include <functional>
#include <optional>
#include <string>

namespace velmorandi {

class RenameList;

struct CommitOutcome {
    enum class Kind {
        Refused,   // a check failed: "Err!" rows, nothing touched
        NameTaken, // an edited name is taken on disk: "Err!" rows, nothing touched
        Failed,    // a rename failed part-way; what was done has been undone (or message says what
                   // not)
        Completed, // every file renamed, list reloaded, every row "Done"
        Cancelled  // stopped on request: every file has its old name again
    };
    Kind kind = Kind::Refused;
    std::string message;              // empty: nothing to tell the user
    bool listReloaded = false;        // the list was reloaded from the disk
    bool protectedFileListed = false; // guard result of that reload
};

// Validates the edited names and renames every listed file of the folder, all or nothing.
CommitOutcome CommitRename(RenameList& list, const std::string& folder);

// One rename inside the committed folder, entry name to entry name, never replacing a file.
using RenameFunction =
    std::function<std::optional<SystemError>(const std::string& from, const std::string& to)>;
// Stands in for every rename the commit makes, undo steps included; `rename`
// is the real one. Tests use it to make a chosen rename fail.
using RenameSeam = std::function<std::optional<SystemError>(
    const std::string& from, const std::string& to, const RenameFunction& rename)>;
CommitOutcome CommitRename(RenameList& list, const std::string& folder, const RenameSeam& seam);

extern const char* const kRenameRefusedMessage;
extern const char* const kNameTakenMessage;

} // namespace velmorandi
