#include "lending.h"

#include <cstdio>
#include <cstdlib>

namespace velmorandi {

// A fault of the program, not of the user's files: it must not go on.
void Lending::refused(const char* owner, const char* change) {
    std::fprintf(stderr,
                 "velmorandi: %s %s while lent to another thread; its leases must end first\n",
                 owner, change);
    std::fflush(stderr);
    std::abort();
}

} // namespace velmorandi
