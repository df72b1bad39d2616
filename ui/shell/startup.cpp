#include "shell/startup.h"

#include "main/main_window.h"
#include "shell/app_icon.h"
#include "shell/second_instance_notice.h"
#include "shell/single_instance.h"

#include <QApplication>

namespace velmorandi {

int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmorandi"));
    QApplication::setWindowIcon(applicationIcon());

    SingleInstance instance;
    if (!instance.acquire()) {
        showSecondInstanceNotice();
        return 0;
    }

    // Lives until the process ends; the close button ends the program at once.
    // Holding the lock, this instance is the one that rolls back unfinished runs.
    auto* w = new frmMainWindow(nullptr, true);
    w->show();
    return app.exec();
}

} // namespace velmorandi
