#include "main/time_left.h"

#include <QLocale>
#include <QTest>

using namespace std::chrono_literals;
using velmorandi::timeLeftText;

class TimeLeftTest : public QObject {
    Q_OBJECT
  private slots:
    void saidOnlyWhenItIsWorthSayingAndAsAPersonWouldSayIt() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // Too young to tell, over in a moment, or done.
        QCOMPARE(timeLeftText(1500ms, 10, 100000), QString());
        QCOMPARE(timeLeftText(3s, 900, 1000), QString());
        QCOMPARE(timeLeftText(3s, 1000, 1000), QString());
        QCOMPARE(timeLeftText(3s, 0, 1000), QString());
        // 3 s for 100 of 1,000 steps: 27 s to go, said to five seconds.
        QCOMPARE(timeLeftText(3s, 100, 1000), QStringLiteral("About 30 seconds left"));
        QCOMPARE(timeLeftText(10s, 1000, 8000), QStringLiteral("About a minute left"));
        QCOMPARE(timeLeftText(10s, 1000, 100000), QStringLiteral("About 17 minutes left"));
        QCOMPARE(timeLeftText(2s, 1, 1000000), QStringLiteral("About 33,333 minutes left"));
    }
};

QTEST_MAIN(TimeLeftTest)
#include "time_left_test.moc"
