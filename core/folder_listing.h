#pragma once

#include "paths.h"
#include "platform/folder_access.h"
#include "platform/system_error.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// The files of one folder (not sub-folders, not hidden files), names as exact
// bytes, in natural case-insensitive order of the user's locale.
// On error names is empty: never a partial list.
struct [[nodiscard]] FolderListing {
    std::vector<std::string> names;
    std::optional<SystemError> error;
};
FolderListing ListFolderFiles(const std::string& folder);

// How a listing reaches the folder: `handle` opened at `folder`, then every
// entry, resolved, handed to `visit`. A run passes its own, so that a test
// can fail either call.
using EntryReader = std::function<std::optional<SystemError>(platform::FolderHandle& handle,
                                                             const std::string& folder,
                                                             const platform::EntryVisitor& visit)>;
FolderListing ListFolderFiles(const std::string& folder, const EntryReader& read);

// The sub-folders of one folder (hidden ones left out, symbolic links to
// folders included), in the same order as ListFolderFiles.
FolderListing ListSubfolders(const std::string& folder);

// Both from one read of the folder, as a change of folder needs them.
struct [[nodiscard]] FolderContents {
    std::vector<std::string> files;
    std::vector<std::string> subfolders;
    std::optional<SystemError> error; // set: both empty
};
enum class FileOrder { Natural, AsRead };
FolderContents ReadFolder(const std::string& folder, FileOrder fileOrder = FileOrder::Natural);

// The same read with the files' names as views into one text, in natural
// order: a folder of a million files is read without a million allocations.
struct [[nodiscard]] PackedContents {
    std::vector<char> text; // a vector: moving it never moves the bytes the views see
    std::vector<std::string_view> files;
    std::vector<std::string> subfolders;
    std::vector<std::string> unshown; // entries the listing leaves out, as read
    bool ignoresCase = false;         // the folder's file system takes A and a for one name
    std::optional<SystemError> error; // set: all empty
};
PackedContents ReadFolderPacked(const std::string& folder);

// Whether a listing shows a folder's entry, as a file or as a sub-folder.
bool isShown(std::string_view name, bool hidden);

} // namespace velmorandi
