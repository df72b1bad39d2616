#include "folder_listing.h"

#include "natural_order.h"
#include "platform/folder_access.h"
#include "run/temporary_names.h"

namespace velmorandi {

// A file left under a temporary name is shown: recovery runs before any folder
// is listed, so no run can still explain it, and hiding it would lose the file.
bool isShown(std::string_view name, bool hidden) {
    return !hidden || isTemporaryName(name);
}

FolderContents ReadFolder(const std::string& folder, FileOrder fileOrder) {
    FolderContents contents;
    platform::FolderHandle handle;
    std::vector<platform::FolderEntry> entries;
    contents.error = handle.open(folder);
    if (!contents.error)
        contents.error = handle.readEntries(entries, platform::EntryKinds::Resolved);
    if (contents.error)
        return contents;
    for (platform::FolderEntry& entry : entries)
        if (isShown(entry.name, entry.hidden))
            (entry.isFolder ? contents.subfolders : contents.files)
                .push_back(std::move(entry.name));
    entries = {};
    if (fileOrder == FileOrder::Natural)
        sortNaturally(contents.files);
    sortNaturally(contents.subfolders);
    return contents;
}

FolderListing ListFolderFiles(const std::string& folder) {
    FolderContents contents = ReadFolder(folder);
    return {std::move(contents.files), std::move(contents.error)};
}

FolderListing ListSubfolders(const std::string& folder) {
    FolderContents contents = ReadFolder(folder);
    return {std::move(contents.subfolders), std::move(contents.error)};
}

} // namespace velmorandi
