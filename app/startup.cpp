#include "startup.h"

#include "second_instance_notice.h"
#include "single_instance.h"

#include "main/main_window.h"
#include "shell/app_icon.h"

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
    auto* w = new frmMainWindow();
    w->show();
    return app.exec();
}

} // namespace velmorandi
