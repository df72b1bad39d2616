#pragma once

#include "run/journal.h"
#include "run/run_engine.h"

#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// Where each file of an interrupted run is now, read from the folder: by file
// number where the file system keeps them, else by finding how many steps the
// names on disk show done. Empty where a file cannot be found.
std::vector<std::string> locateFiles(const Journal& journal, const OpenedFolder& folder);

} // namespace velmorandi
