#pragma once

#include <string>

namespace velmorandi {

class RenameList;

struct CommitOutcome {
    enum class Kind {
        Refused,   // a check failed: "Err!" rows, nothing touched
        NameTaken, // an edited name is taken on disk: "Err!" rows, nothing touched
        Failed,    // a rename failed part-way; what was done has been undone (or message says what not)
        Completed  // every file renamed, list reloaded, every row "Done"
    };
    Kind kind = Kind::Refused;
    std::string message;              // empty: nothing to tell the user
    bool listReloaded = false;        // the list was reloaded from the disk
    bool protectedFileListed = false; // guard result of that reload
};

// Validates the edited names and renames every listed file of the folder, all or nothing.
CommitOutcome CommitRename(RenameList& list, const std::string& folder);

} // namespace velmorandi
