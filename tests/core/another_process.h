#pragma once

#include <functional>

namespace velmorandi::testing {

// True when `work` returned true. It runs in a child process where the system
// can fork, so that nothing it leaves in memory reaches the caller; Windows
// cannot fork, and runs it in this process.
bool succeedsInAnotherProcess(const std::function<bool()>& work);

} // namespace velmorandi::testing
