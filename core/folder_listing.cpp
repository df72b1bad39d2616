#include "folder_listing.h"

#include "natural_order.h"
#include "platform/folder_access.h"

namespace velmorandi {
namespace {

enum class Wanted { Files, Folders };

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
        if (!entry.hidden && entry.isFolder == (wanted == Wanted::Folders))
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
