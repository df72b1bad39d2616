#pragma once

#include "platform/folder_access.h"

#include <string_view>

namespace velmorandi::platform {

// Whether a folder's listing hands each entry's facts over with its name
// (EntryView::facts): then one read of the folder tells them all, where
// asking file by file takes a call per file.
bool listingCarriesFacts();

// One file's facts, asked of the system by name; a link tells its target's.
FileFacts factsOf(const FolderHandle& folder, std::string_view name);

} // namespace velmorandi::platform
