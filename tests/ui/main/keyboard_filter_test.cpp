#include "main/keyboard_filter.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace velmorandi;

class KeyboardFilterTest : public QObject {
    Q_OBJECT

  private slots:
    void filtersOnlyItsOwnWindow();
};

void KeyboardFilterTest::filtersOnlyItsOwnWindow() {
    QWidget window;
    auto* box = new QLineEdit(&window);
    auto* list = new QListWidget(&window);
    list->move(0, 40);
    QLineEdit otherWindow;
    int helps = 0;
    KeyboardFilter filter(&window, [&] { ++helps; });
    qApp->installEventFilter(&filter);
    window.show();
    otherWindow.show();

    QTest::keyClicks(box, "a:b\\c/d*e?f\"g<h>i|j");
    QCOMPARE(box->text(), QString("abcdefghij"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QString("abcdefghi"));
    QTest::keyClicks(&otherWindow, "a:b");
    QCOMPARE(otherWindow.text(), QString("a:b"));

    // The list ignores F1 and passes it on to the window: still one help per press.
    QTest::keyClick(list, Qt::Key_F1);
    QCOMPARE(helps, 1);
    QTest::keyClick(box, Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_F1, Qt::ControlModifier);
    QCOMPARE(helps, 3);
    QTest::keyClick(&otherWindow, Qt::Key_F1);
    QCOMPARE(helps, 3);
}

QTEST_MAIN(KeyboardFilterTest)
#include "keyboard_filter_test.moc"
