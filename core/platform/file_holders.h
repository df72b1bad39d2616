#pragma once

#include "platform/folder_access.h"

#include <string>
#include <vector>

// Which programs hold a file open, so that a message can say where to close it.
namespace velmorandi::platform {

// The programs other than this one that hold `name` in `folder` open, as the
// system names them to the user (UTF-8, each once); empty where none is found
// or the system cannot tell. Asked only once a change of the file has failed
// for good because it is held: the answer may take the system a while.
// Windows asks its Restart Manager. Linux names none: a rename there is
// refused as busy (EBUSY) only for a mount point or an entry the system
// itself uses, never because a program has the file open, and the kernel
// says nothing of who.
[[nodiscard]] std::vector<std::string> programsHolding(const FolderHandle& folder,
                                                       const std::string& name);

} // namespace velmorandi::platform
