#pragma once

namespace velmorandi {

// Answers --help and --version, refuses a second instance, otherwise shows the
// main window on the folder the command line names and runs the event loop.
int Main(int argc, char** argv);

} // namespace velmorandi
