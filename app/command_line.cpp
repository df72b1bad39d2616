#include "command_line.h"

#include "platform/path_text.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

namespace velmorandi {

namespace {

using Mistake = CommandLine::Mistake;

CommandLine refusal(Mistake mistake, const std::string& argument) {
    CommandLine refused;
    refused.action = CommandLine::Action::Refuse;
    refused.mistake = mistake;
    refused.mistaken = argument;
    return refused;
}

// "--he" asks for help as "--help" does, as long as no other option starts the same way.
bool abbreviates(const std::string& option, const std::string& full) {
    return option.size() > 2 && full.compare(0, option.size(), option) == 0;
}

// Qt's own options, which QApplication takes out of the command line, written
// "-name" or "--name". Most take the next argument as their value, a few
// also take "-name=value"; the flags take none.
constexpr std::array<std::string_view, 17> kQtValueOptions = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "geometry",
    "qwindowtitle",    "title",
    "qwindowicon",     "icon",
    "display",         "name",
    "visual",          "session",
    "style",           "stylesheet",
    "qmljsdebugger"};
constexpr std::array<std::string_view, 3> kQtEqualsOptions = {"style", "stylesheet",
                                                              "qmljsdebugger"};
constexpr std::array<std::string_view, 7> kQtFlags = {
    "reverse", "widgetcount", "testability", "sync", "nograb", "dograb", "qdebug"};

bool isOneOf(std::string_view name, const auto& names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// How many arguments from here make one of Qt's options: 0 when it is none;
// missingValue tells when its value is missing.
std::size_t qtOptionLength(const std::vector<std::string>& arguments, std::size_t at,
                           bool& missingValue) {
    std::string_view option = arguments[at];
    option.remove_prefix(option.starts_with("--") ? 2 : 1);
    if (isOneOf(option.substr(0, option.find('=')), kQtEqualsOptions) &&
        option.find('=') != std::string_view::npos)
        return 1;
    if (isOneOf(option, kQtFlags))
        return 1;
    if (!isOneOf(option, kQtValueOptions))
        return 0;
    if (at + 1 < arguments.size())
        return 2;
    missingValue = true;
    return 1;
}

// A file (say, dropped on the launcher) stands for its folder, with its row current.
void openFileInItsFolder(CommandLine& run) {
    const std::filesystem::path path = platform::fileSystemPath(run.folder);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status) ||
        !path.has_parent_path())
        return;
    run.file = platform::pathBytes(path.filename());
    run.folder = platform::pathBytes(path.parent_path());
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool missingValue = false;
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (const std::size_t length = qtOptionLength(arguments, i, missingValue)) {
            if (missingValue)
                return refusal(Mistake::MissingArgument, argument);
            i += length - 1;
        } else if (argument[1] != '-') {
            return refusal(Mistake::InvalidOption, argument.substr(1, 1));
        } else {
            const std::string option = argument.substr(0, argument.find('='));
            const bool help = abbreviates(option, "--help");
            const bool version = abbreviates(option, "--version");
            if (!help && !version)
                return refusal(Mistake::UnrecognizedOption, argument);
            if (option != argument)
                return refusal(Mistake::UnwantedArgument, help ? "--help" : "--version");
            CommandLine answer;
            answer.action = help ? CommandLine::Action::ShowHelp : CommandLine::Action::ShowVersion;
            return answer;
        }
    }
    if (operands.size() > 1)
        return refusal(Mistake::ExtraOperand, operands[1]);
    CommandLine run;
    if (!operands.empty()) {
        run.folder = platform::absolutePath(operands.front());
        openFileInItsFolder(run);
    }
    return run;
}

} // namespace velmorandi
