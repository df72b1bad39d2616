#include "running_mark.h"

namespace velmorandi {

void markRunning() {}

} // namespace velmorandi
