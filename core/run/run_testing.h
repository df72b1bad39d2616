#pragma once

#include "run/disk.h"
#include "run/step_executor.h"

#include <optional>

namespace velmorandi {

// What tests steer in a run (RunControl::testing): what the file system would
// decide, and a seam through which every call on the disk passes, reads included.
// The program itself sets none of it.
struct RunTesting {
    bool noExchange = false; // park one file of each cycle under a temporary name
    bool ignoreCase = false; // treat the folder as one that ignores letter case
    // As where file numbers do not last (FAT, FUSE); implies noExchange.
    bool noIdentities = false;
    // Start with this way, as a drive that lacks the better ones would.
    std::optional<RenameWay> way;
    // As on a network drive, its listing read again before the first step,
    // not once a while has passed.
    bool remote = false;
    DiskSeam seam;
};

} // namespace velmorandi
