#pragma once

#include <string>
#include <vector>

namespace velmorandi::platform {

// The arguments the program was started with, after its name, as exact path
// bytes: argv itself on Linux; on Windows the UTF-16 command line read afresh
// as WTF-8, since argv there is in the ANSI code page, which cannot say every
// name a folder may have.
std::vector<std::string> programArguments(int argc, char** argv);

// The folder the running program's own file lies in, as a path; empty where
// the system does not tell.
std::string programFolder();

} // namespace velmorandi::platform
