// Throwaway: saves what the windows look like (not committed).
#include "main/main_window.h"
#include "shell/message_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QTableView>
#include <QHeaderView>
#include <QDebug>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = qEnvironmentVariable("LOOK_OUT", "/tmp/look");
    QDir().mkpath(out);
    const QString folder = "/tmp/look-sample/Holiday 2023";
    QDir().mkpath(folder + "/Day trips");
    QDir().mkpath(folder + "/Scans");
    for (int i = 1; i <= 12; ++i) {
        QFile f(folder + QString("/IMG_20230%1_%2.JPG").arg(i % 9 + 1).arg(i, 2, 10, QChar('0')));
        f.open(QIODevice::WriteOnly);
    }
    for (auto n : {"packing list.txt", "report.final.txt", "route.gpx", "archive.tar.gz", "README"}) {
        QFile f(folder + "/" + n);
        f.open(QIODevice::WriteOnly);
    }
    QDir::setCurrent(folder);
    velmorandi::frmMainWindow w;
    w.show();
    QTest::qWaitForWindowExposed(&w);
    QTest::qWait(100);
    w.grab().save(out + "/main.png");
    auto* grid = w.findChild<QTableView*>("MSFlexGrid1");
    auto* header = grid->horizontalHeader();
    qInfo() << "header length" << header->length() << "width" << header->width() << "viewport" << grid->viewport()->width();
    grid->grab().copy(QRect(grid->width() - 140, 0, 140, 60)).scaled(560, 240).save(out + "/header.png");
    qInfo() << "message font px" << QApplication::font().pixelSize() << QApplication::font().pointSizeF();
    QTimer::singleShot(200, [&] {
        QWidget* box = QApplication::activeModalWidget();
        box->grab().save(out + "/message.png");
        box->close();
    });
    velmorandi::ShowMessage(&w, "Edited filenames contain duplicates.\r\n\r\nMake each edited name unique before renaming, then click Rename again.");
    return 0;
}
