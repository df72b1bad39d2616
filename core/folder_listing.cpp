#include "folder_listing.h"

#include "natural_order.h"
#include "platform/folder_access.h"
#include "run/temporary_names.h"

namespace velmorandi {
namespace {

enum class Wanted { Files, Folders };

// A file left under a temporary name is shown: recovery runs before any folder
// is listed, so no run can still explain it, and hiding it would lose the file.
bool shown(const platform::FolderEntry& entry) {
    return !entry.hidden || isTemporaryName(entry.name);
}

FolderListing listEntries(const std::string& folder, Wanted wanted) {
    FolderListing listing;
    platform::FolderHandle handle;
    std::vector<platform::FolderEntry> entries;
    listing.error = handle.open(folder);
    if (!listing.error)
        listing.error = handle.readEntries(entries, platform::EntryKinds::Resolved);
    if (listing.error)
        return listing;
    for (platform::FolderEntry& entry : entries)
        if (shown(entry) && entry.isFolder == (wanted == Wanted::Folders))
            listing.names.push_back(std::move(entry.name));
    sortNaturally(listing.names);
    return listing;
}

} // namespace

FolderListing ListFolderFiles(const std::string& folder) {
    return listEntries(folder, Wanted::Files);
}

FolderListing ListSubfolders(const std::string& folder) {
    return listEntries(folder, Wanted::Folders);
}

} // namespace velmorandi
