#pragma once

namespace velmorandi {

// Lets the Windows installer and uninstaller see that Velmorandi runs, so that they ask
// for it to be closed rather than fail on its files: a named mutex, held until the
// process ends. Other systems have no such installer; there it does nothing.
void markRunning();

} // namespace velmorandi
