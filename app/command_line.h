#pragma once

#include <string>
#include <vector>

namespace velmorandi {

// What the command line `velmorandi [OPTION]... [FOLDER|FILE]` asks for.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    std::string folder;    // absolute, exact bytes; empty when none was given
    std::string file;      // given a file: its name, in folder; its row starts current
    std::string complaint; // for Refuse: what to print on the error output
};

// The arguments after the program's name, GNU style: --help and --version (or
// any unambiguous start of them), "--" before a folder that starts with a dash.
// Qt's own options (-platform NAME, -style=NAME, ...) are Qt's and pass.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string helpText();
std::string versionText();

} // namespace velmorandi
