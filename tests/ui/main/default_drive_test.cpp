#include "main/default_drive.h"

#include <QTest>

using namespace velmorandi;

class DefaultDriveTest : public QObject {
    Q_OBJECT

  private slots:
    void skipsFloppiesAtTheTop_data();
    void skipsFloppiesAtTheTop();
};

void DefaultDriveTest::skipsFloppiesAtTheTop_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("expected"); // -1: no entry to select

    QTest::newRow("a, labelled c, d") << QStringList{"a:", "c: [System]", "d:"} << 1;
    QTest::newRow("a, b, labelled c") << QStringList{"a:", "b:", "c: [System]"} << 2;
    QTest::newRow("labelled c, d") << QStringList{"c: [System]", "d:"} << 0;
    QTest::newRow("b, c") << QStringList{"b:", "c:"} << 1;
    QTest::newRow("upper-case floppies") << QStringList{"A:", "B:", "c:"} << 2;
    QTest::newRow("labelled a is no floppy") << QStringList{"a: [Backup]", "c:"} << 0;
    QTest::newRow("linux root first") << QStringList{"/", "/home [Data]"} << 0;
    QTest::newRow("only floppies") << QStringList{"a:", "b:"} << -1;
    QTest::newRow("single floppy") << QStringList{"a:"} << -1;
    QTest::newRow("empty list") << QStringList{} << -1;
}

void DefaultDriveTest::skipsFloppiesAtTheTop() {
    QFETCH(QStringList, entries);
    QFETCH(int, expected);
    QCOMPARE(defaultDriveIndex(entries).value_or(-1), expected);
}

QTEST_MAIN(DefaultDriveTest)
#include "default_drive_test.moc"
