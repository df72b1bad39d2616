#pragma once

#include "file_name_rules.h"

#include <string>

namespace velmorandi::platform {

// The longest name the file system holding the folder accepts, in its own unit
// where it can be told, otherwise in bytes as the system reports it.
NameLimit fileNameLimit(const std::string& folder);

} // namespace velmorandi::platform
