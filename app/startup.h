#pragma once

namespace velmorandi {

// Refuses a second instance, otherwise shows the main window and runs the event loop.
int Main(int argc, char** argv);

} // namespace velmorandi
