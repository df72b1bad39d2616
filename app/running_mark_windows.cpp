#include "running_mark.h"

#include <windows.h>

namespace velmorandi {

void markRunning() {
    // packaging/windows/velmorandi.nsi looks for this name. The handle stays open on
    // purpose: the system closes it when the process ends, however it ends.
    ::CreateMutexW(nullptr, FALSE, L"Local\\Velmorandi.Running");
}

} // namespace velmorandi
