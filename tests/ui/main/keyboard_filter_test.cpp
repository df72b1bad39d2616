#include "main/keyboard_filter.h"

#include "platform/name_limit.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolTip>

using namespace velmorandi;

namespace {

// What a screen reader hears of the control besides its name.
QString describedAs(QWidget* control) {
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Description);
}

QString shownTip() {
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

class KeyboardFilterTest : public QObject {
    Q_OBJECT

  private slots:
    void filtersOnlyItsOwnWindow();
    void saysAtTheBoxWhyACharacterIsLeftOut();
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

void KeyboardFilterTest::saysAtTheBoxWhyACharacterIsLeftOut() {
    QWidget window;
    auto* box = new QLineEdit(&window);
    box->setAccessibleDescription("own");
    auto* list = new QListWidget(&window);
    list->move(0, 40);
    KeyboardFilter filter(&window, [] {});
    qApp->installEventFilter(&filter);
    window.show();

    // Windows holds none of the nine; Linux only refuses the slash, and the program
    // keeps the other eight out of names for Windows' sake.
    const QString slash = "\"/\" cannot be part of a file name on this system.";
    const QString colon = platform::namesFollowWindowsRules()
                              ? "\":\" cannot be part of a file name on this system."
                              : "\":\" is left out: Velmorandi keeps file names free of the "
                                "characters Windows does not allow.";
    QTest::keyClicks(box, "a/");
    QCOMPARE(shownTip(), slash);
    QCOMPARE(describedAs(box), slash);
    QTest::keyClicks(box, "b:");
    QCOMPARE(box->text(), QString("ab"));
    QCOMPARE(shownTip(), colon);
    QCOMPARE(describedAs(box), colon);

    // Once the balloon is gone the box has its own description again; a list is told nothing.
    QTRY_COMPARE_WITH_TIMEOUT(describedAs(box), QString("own"), 10000);
    QToolTip::hideText();
    QTest::keyClicks(list, ":");
    QCOMPARE(shownTip(), QString());
    QCOMPARE(describedAs(list), QString());
}

QTEST_MAIN(KeyboardFilterTest)
#include "keyboard_filter_test.moc"
