#pragma once

namespace velmorandi::platform {

// Large blocks go back to the system as soon as they are freed. A folder of a
// million files passes through lists of tens of megabytes each; an allocator
// that keeps them for reuse keeps them in the process's memory too, and each
// thread's pool keeps its own.
void returnLargeBlocksWhenFreed();

} // namespace velmorandi::platform
