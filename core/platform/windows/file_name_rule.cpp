#include "platform/name_limit.h"

namespace velmorandi::platform {

bool namesFollowWindowsRules() {
    return true;
}

} // namespace velmorandi::platform
