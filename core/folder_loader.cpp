#include "folder_loader.h"

#include "folder_listing.h"
#include "platform/name_limit.h"
#include "protected_files.h"
#include "rename_list.h"

namespace velmorandi {

LoadOutcome LoadFolder(RenameList& list, const std::string& folder) {
    LoadOutcome outcome;
    FolderContents contents = ReadFolder(folder);
    if (contents.error) {
        outcome.error = std::move(contents.error);
        return outcome;
    }
    list.load(contents.files, platform::fileNameLimit(folder));
    contents.files = {};
    outcome.subfolders = std::move(contents.subfolders);
    outcome.protectedFileListed = !CheckProtectedFiles(folder, list);
    return outcome;
}

} // namespace velmorandi
