#include "command_line.h"

#include "platform/path_text.h"
#include "version.h"

#include <filesystem>

namespace velmorandi {

namespace {

const char* const kTryHelp = "Try 'velmorandi --help' for more information.\n";

CommandLine refusal(const std::string& complaint) {
    CommandLine refused;
    refused.action = CommandLine::Action::Refuse;
    refused.complaint = "velmorandi: " + complaint + "\n" + kTryHelp;
    return refused;
}

// "--he" asks for help as "--help" does, as long as no other option starts the same way.
bool abbreviates(const std::string& option, const std::string& full) {
    return option.size() > 2 && full.compare(0, option.size(), option) == 0;
}

std::string absoluteFolder(const std::string& argument) {
    std::error_code error;
    std::filesystem::path folder =
        std::filesystem::absolute(platform::fileSystemPath(argument), error);
    if (error)
        return argument;
    folder = folder.lexically_normal();
    // "photos/" names the folder photos, not an empty name inside it.
    if (!folder.has_filename() && folder.has_relative_path())
        folder = folder.parent_path();
    return platform::pathBytes(folder);
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument[1] != '-') {
            return refusal("invalid option -- '" + argument.substr(1, 1) + "'");
        } else {
            const std::string option = argument.substr(0, argument.find('='));
            const bool help = abbreviates(option, "--help");
            const bool version = abbreviates(option, "--version");
            if (!help && !version)
                return refusal("unrecognized option '" + argument + "'");
            if (option != argument)
                return refusal("option '" + std::string(help ? "--help" : "--version") +
                               "' doesn't allow an argument");
            CommandLine answer;
            answer.action = help ? CommandLine::Action::ShowHelp : CommandLine::Action::ShowVersion;
            return answer;
        }
    }
    if (operands.size() > 1)
        return refusal("extra operand '" + operands[1] + "'");
    CommandLine run;
    if (!operands.empty())
        run.folder = absoluteFolder(operands.front());
    return run;
}

std::string helpText() {
    return "Usage: velmorandi [OPTION]... [FOLDER]\n"
           "Rename all the files of FOLDER at once: find and replace, change case, add a\n"
           "string, number them, trim them. Without FOLDER, the current folder is listed.\n"
           "\n"
           "      --help     display this help and exit\n"
           "      --version  output version information and exit\n"
           "\n"
           "A file manager can also open a folder with Velmorandi through \"Open With\".\n";
}

std::string versionText() {
    return "velmorandi (Velmorandi) " + GetVersion() + "\nWritten by Ombrix.\n";
}

} // namespace velmorandi
