#include "platform/memory_policy.h"

#include <malloc.h>

namespace velmorandi::platform {

void returnLargeBlocksWhenFreed() {
#ifdef __GLIBC__
    // A fixed threshold: glibc's own rises with every large block freed, after
    // which such blocks come from the heap and stay there once freed.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}

} // namespace velmorandi::platform
