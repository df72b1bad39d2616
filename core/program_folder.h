#pragma once

#include "platform/file_system.h"

#include <string>

namespace velmorandi {

// The folder the program runs from is no place for a rename: it would rename
// the program itself, or a file the program needs to start.
bool isProgramFolder(const platform::FileIdentity& folder);
bool isProgramFolder(const std::string& folderPath);

} // namespace velmorandi
