#include "startup.h"

#include "command_line.h"
#include "folder_handover.h"
#include "running_mark.h"
#include "second_instance_notice.h"
#include "single_instance.h"
#include "start_words.h"

#include "main/main_window.h"
#include "platform/memory_policy.h"
#include "platform/program_arguments.h"
#include "shell/app_icon.h"
#include "words/language.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <string>

namespace velmorandi {

namespace {

// Help and version print and end the program; a mistake on the command line
// is said, not shown. The application object is a bare one: no window system
// is asked for.
int answerCommandLine(int argc, char** argv, const CommandLine& commandLine) {
    const QCoreApplication app(argc, argv);
    const Language language(QLocale::system());
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
        std::fputs(words::helpText().constData(), stdout);
        return 0;
    case CommandLine::Action::ShowVersion:
        std::fputs(words::versionText().constData(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
    case CommandLine::Action::Run:
        break;
    }
    std::fputs(words::commandLineMistake(commandLine.mistake, commandLine.mistaken).constData(),
               stderr);
    return 2;
}

} // namespace

HandoverAnswer handOverTo(frmMainWindow& window, const std::string& folder,
                          const std::string& file) {
    switch (window.openHandedOver(folder, file)) {
    case frmMainWindow::HandOver::Opening:
        return HandoverAnswer::Opened;
    case frmMainWindow::HandOver::WhenFree:
        return HandoverAnswer::WhenFree;
    case frmMainWindow::HandOver::Refused:
        break;
    }
    return HandoverAnswer::Refused;
}

int Main(int argc, char** argv) {
    markRunning();
    platform::returnLargeBlocksWhenFreed();
    // Help, version and mistakes need no display, so they are answered before
    // the windows' application exists; Qt's own options are known and pass.
    const CommandLine commandLine = parseCommandLine(platform::programArguments(argc, argv));
    if (commandLine.action != CommandLine::Action::Run)
        return answerCommandLine(argc, argv, commandLine);

    QApplication app(argc, argv);
    const Language language(QLocale::system());
    QApplication::setApplicationName(QStringLiteral("Velmorandi"));
    QApplication::setWindowIcon(applicationIcon());

    SingleInstance instance;
    if (!instance.acquire()) {
        // A folder goes to the running instance; without one, or when that
        // instance is out of reach, the notice as ever.
        const HandoverAnswer answer =
            commandLine.folder.empty()
                ? HandoverAnswer::Refused
                : handFolderOver(instance.folder(), commandLine.folder, commandLine.file);
        if (answer == HandoverAnswer::WhenFree)
            showFolderWaitsNotice();
        else if (answer == HandoverAnswer::Refused)
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
                return handOverTo(*w, folder, file);
            },
            w);
    w->show();
    return app.exec();
}

} // namespace velmorandi
