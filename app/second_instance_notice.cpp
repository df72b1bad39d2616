#include "second_instance_notice.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace velmorandi {

namespace {

void showNotice(const QString& text) {
    QMessageBox notice(QMessageBox::NoIcon, QStringLiteral("Velmorandi"), text, QMessageBox::Ok);
    // Borderless as every window of the program, also where the toolkit would
    // draw a title bar of its own (Wayland).
    notice.setWindowFlag(Qt::FramelessWindowHint);
    // The program's other windows' one-pixel frame keeps it apart from what lies behind.
    notice.setStyleSheet(QStringLiteral("QMessageBox { border: 1px solid black; }"));
    notice.exec();
}

} // namespace

void showSecondInstanceNotice() {
    showNotice(QStringLiteral("\r\nAn instance of this application is already running.\r\n"
                              "A second instance is not supported"));
}

void showFolderWaitsNotice() {
    showNotice(QCoreApplication::translate("SecondStart",
                                           "\r\nVelmorandi is already running, and busy.\r\n"
                                           "The folder opens in it as soon as it is free."));
}

} // namespace velmorandi
