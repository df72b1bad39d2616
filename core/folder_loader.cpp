#include "folder_loader.h"

#include "folder_listing.h"
#include "platform/name_limit.h"
#include "program_folder.h"
#include "protected_files.h"
#include "rename_list.h"

namespace velmorandi {

LoadOutcome LoadFolder(RenameList& list, const std::string& folder) {
    LoadOutcome outcome;
    PackedContents contents = ReadFolderPacked(folder);
    if (contents.error) {
        outcome.error = std::move(contents.error);
        return outcome;
    }
    list.loadViews(contents.files, platform::fileNameLimit(folder));
    contents.files = {};
    contents.text = {};
    outcome.subfolders = std::move(contents.subfolders);
    outcome.unshown = std::move(contents.unshown);
    outcome.ignoresCase = contents.ignoresCase;
    outcome.programFolder = !list.empty() && isProgramFolder(folder);
    outcome.protectedFileListed = outcome.programFolder || !CheckProtectedFiles(folder, list);
    return outcome;
}

} // namespace velmorandi
