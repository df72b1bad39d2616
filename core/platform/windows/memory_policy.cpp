#include "platform/memory_policy.h"

namespace velmorandi::platform {

// The Windows heap gives blocks this large their own pages, freed with them.
void returnLargeBlocksWhenFreed() {}

} // namespace velmorandi::platform
