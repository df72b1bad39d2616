#include "startup.h"

#include "command_line.h"
#include "folder_handover.h"
#include "second_instance_notice.h"
#include "single_instance.h"

#include "main/main_window.h"
#include "platform/memory_policy.h"
#include "platform/program_arguments.h"
#include "shell/app_icon.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <string>

namespace velmorandi {

namespace {

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
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    return std::nullopt;
}

} // namespace

int Main(int argc, char** argv) {
    platform::returnLargeBlocksWhenFreed();
    // Help, version and mistakes need no display, so they are answered before
    // the application exists; Qt's own options are known and pass.
    const CommandLine commandLine = parseCommandLine(platform::programArguments(argc, argv));
    if (const std::optional<int> status = answerCommandLine(commandLine))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmorandi"));
    QApplication::setWindowIcon(applicationIcon());

    SingleInstance instance;
    if (!instance.acquire()) {
        // A folder goes to the running instance; without one, or when that
        // instance is busy or out of reach, the notice as ever.
        if (commandLine.folder.empty() ||
            !handFolderOver(instance.folder(), commandLine.folder, commandLine.file))
            showSecondInstanceNotice();
        return 0;
    }

    // Lives until the process ends; the close button ends the program at once.
    // Without the lock another instance could be mid-run: only the holder rolls back.
    auto* w =
        new frmMainWindow(nullptr, commandLine.folder, instance.holdsLock(), commandLine.file);
    if (instance.holdsLock())
        new FolderHandover(
            instance.folder(),
            [w](const std::string& folder, const std::string& file) {
                return w->openHandedOver(folder, file);
            },
            w);
    w->show();
    return app.exec();
}

} // namespace velmorandi
