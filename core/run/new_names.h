#pragma once

#include "run/disk.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmorandi {

class RenameList;

// The rows' new names in the order a fresh listing of the folder would give
// them, and the protected-file guard's verdict on them. On one core: it is
// made beside a run, which needs the other.
struct NewNamesOrder {
    std::vector<std::uint32_t> order; // old row numbers in the new order
    bool protectedFileListed = false;
};
NewNamesOrder orderNewNames(const RenameList& rows, const std::string& folder);

// True when the folder's files are the rows' new names, no more, no fewer. A
// read that fails proves nothing either.
bool folderHoldsNewNames(const std::string& folder, const RenameList& rows, const Disk& disk);

} // namespace velmorandi
