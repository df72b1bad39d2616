#include "second_instance_notice.h"

#include <QMessageBox>

namespace velmorandi {

void showSecondInstanceNotice() {
    QMessageBox notice(QMessageBox::NoIcon, QStringLiteral("Velmorandi"),
                       QStringLiteral("\r\nAn instance of this application is already running.\r\n"
                                      "A second instance is not supported"),
                       QMessageBox::Ok);
    // Borderless as every window of the program, also where the toolkit would
    // draw a title bar of its own (Wayland).
    notice.setWindowFlag(Qt::FramelessWindowHint);
    // The program's other windows' one-pixel frame keeps it apart from what lies behind.
    notice.setStyleSheet(QStringLiteral("QMessageBox { border: 1px solid black; }"));
    notice.exec();
}

} // namespace velmorandi
