#pragma once

#include "folder_handover.h"

#include <string>

namespace velmorandi {

class frmMainWindow;

// Answers --help and --version, refuses a second instance, otherwise shows the
// main window on the folder the command line names and runs the event loop.
int Main(int argc, char** argv);

// A second start's folder, handed to the window.
HandoverAnswer handOverTo(frmMainWindow& window, const std::string& folder,
                          const std::string& file);

} // namespace velmorandi
