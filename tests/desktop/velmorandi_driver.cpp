// The program's main window on the folder given, as the program shows it, with
// every disk step of a rename slowed down so that its progress window stays up
// long enough to be read from outside (by screen-reader-test.sh).
//   velmorandi_driver FOLDER STEP_MILLISECONDS
#include "main/main_window.h"
#include "shell/app_icon.h"
#include "slow_steps.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmorandi"));
    QApplication::setWindowIcon(velmorandi::applicationIcon());
    if (argc != 3) {
        std::fputs("usage: velmorandi_driver FOLDER STEP_MILLISECONDS\n", stderr);
        return 2;
    }
    const std::chrono::milliseconds step(std::stoi(argv[2]));
    velmorandi::frmMainWindow window(nullptr, argv[1]);
    window.setRunTesting(velmorandi::test::slowSteps(step));
    window.show();
    // A desktop gives the window it maps the keyboard; a headless weston has no
    // keyboard to give, so the window is made the active one here.
    QApplication::setActiveWindow(&window);
    return QApplication::exec();
}
