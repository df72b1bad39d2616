#include "folder_loader.h"

#include "folder_listing.h"
#include "platform/name_limit.h"
#include "protected_files.h"
#include "rename_list.h"

namespace velmorandi {

LoadOutcome LoadFolder(RenameList& list, const std::string& folder) {
    LoadOutcome outcome;
    FolderListing listing = ListFolderFiles(folder);
    if (listing.error) {
        outcome.error = std::move(listing.error);
        return outcome;
    }
    list.load(std::move(listing.names), platform::fileNameLimit(folder));
    outcome.protectedFileListed = !CheckProtectedFiles(folder, list);
    return outcome;
}

} // namespace velmorandi
