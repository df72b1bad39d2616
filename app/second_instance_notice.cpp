#include "second_instance_notice.h"

#include <QMessageBox>

namespace velmorandi {

void showSecondInstanceNotice() {
    QMessageBox notice(QMessageBox::NoIcon, QStringLiteral("Velmorandi"),
                       QStringLiteral("\r\nAn instance of this application is already running.\r\n"
                                      "A second instance is not supported"),
                       QMessageBox::Ok);
    notice.exec();
}

} // namespace velmorandi
