#include "startup.h"

#include "command_line.h"
#include "second_instance_notice.h"
#include "single_instance.h"

#include "main/main_window.h"
#include "platform/memory_policy.h"
#include "shell/app_icon.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

namespace {

std::vector<std::string> argumentsOf(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

// Help and version print and end the program; a mistake on the command line is said, not shown.
std::optional<int> answerCommandLine(const CommandLine& commandLine) {
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case CommandLine::Action::ShowVersion:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fputs(commandLine.complaint.c_str(), stderr);
        return 1;
    case CommandLine::Action::Run:
        break;
    }
    return std::nullopt;
}

// Qt takes its own options (-platform, -style, ...) out of the command line.
bool mayHoldQtOptions(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(),
                       [](const std::string& argument) { return argument.starts_with('-'); });
}

} // namespace

int Main(int argc, char** argv) {
    platform::returnLargeBlocksWhenFreed();
    // Help and version need no display, so they are answered before the
    // application exists; a mistake is too, unless it may be one of Qt's options.
    const std::vector<std::string> arguments = argumentsOf(argc, argv);
    const CommandLine early = parseCommandLine(arguments);
    if (early.action != CommandLine::Action::Refuse || !mayHoldQtOptions(arguments))
        if (const std::optional<int> status = answerCommandLine(early))
            return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmorandi"));
    QApplication::setWindowIcon(applicationIcon());
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv));
    if (const std::optional<int> status = answerCommandLine(commandLine))
        return *status;

    SingleInstance instance;
    if (!instance.acquire()) {
        showSecondInstanceNotice();
        return 0;
    }

    // Lives until the process ends; the close button ends the program at once.
    // Without the lock another instance could be mid-run: only the holder rolls back.
    auto* w = new frmMainWindow(nullptr, commandLine.folder, instance.holdsLock());
    w->show();
    return app.exec();
}

} // namespace velmorandi
