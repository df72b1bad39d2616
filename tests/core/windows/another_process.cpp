#include "another_process.h"

namespace velmorandi::testing {

bool succeedsInAnotherProcess(const std::function<bool()>& work) {
    return work();
}

} // namespace velmorandi::testing
