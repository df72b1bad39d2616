#include "platform/name_limit.h"

namespace velmorandi::platform {

bool namesFollowWindowsRules() {
    return false;
}

} // namespace velmorandi::platform
