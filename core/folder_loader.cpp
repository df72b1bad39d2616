#include "folder_loader.h"

#include "protected_files.h"
#include "rename_list.h"

namespace velmorandi {

LoadOutcome LoadFolder(RenameList& list, const std::string& folder) {
    return LoadListedFiles(list, folder, ListFolderFiles(folder));
}

LoadOutcome LoadListedFiles(RenameList& list, const std::string& folder, FolderListing listing) {
    LoadOutcome outcome;
    if (listing.error) {
        outcome.error = std::move(listing.error);
        return outcome;
    }
    list.load(std::move(listing.names));
    outcome.protectedFileListed = !CheckProtectedFiles(folder, list);
    return outcome;
}

} // namespace velmorandi
