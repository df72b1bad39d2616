#pragma once

#include <string>
#include <vector>

namespace velmorandi {

// What the command line `velmorandi [OPTION]... [FOLDER|FILE]` asks for.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    // For Refuse: what is wrong, with the argument it is about.
    enum class Mistake {
        None,
        InvalidOption,      // "-x": the letter
        UnrecognizedOption, // "--frobnicate": the whole argument
        MissingArgument,    // one of Qt's options at the end: the option
        UnwantedArgument,   // "--help=yes": the option
        ExtraOperand,       // a second folder: the operand
    };
    Action action = Action::Run;
    std::string folder; // absolute, exact bytes; empty when none was given
    std::string file;   // given a file: its name, in folder; its row starts current
    Mistake mistake = Mistake::None;
    std::string mistaken;
};

// The arguments after the program's name, GNU style: --help and --version (or
// any unambiguous start of them), "--" before a folder that starts with a dash.
// Qt's own options (-platform NAME, -style=NAME, ...) are Qt's and pass.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

} // namespace velmorandi
