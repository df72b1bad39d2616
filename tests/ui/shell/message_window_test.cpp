#include "shell/message_window.h"
#include "shell/picture_button.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using velmorandi::frmMessageBox;
using velmorandi::OverlayBox;
using velmorandi::PictureButton;
using velmorandi::ShowMessage;

namespace {

// Shows the message window over mainWindow and runs act on it once it is up.
// A window still open a few seconds later is closed, and reported as such, so a
// key that fails to close it fails the test instead of hanging it.
bool showAndAct(QWidget* mainWindow, const QString& text,
                const std::function<void(frmMessageBox*)>& act) {
    bool leftOpen = false;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<frmMessageBox*>(OverlayBox::waiting()))
            act(box);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<frmMessageBox*>(OverlayBox::waiting())) {
            leftOpen = true;
            box->closeBox();
        }
    });
    watchdog.start(3000);
    ShowMessage(mainWindow, text);
    return !leftOpen;
}

// A pointer move with no button held, as the window system delivers it.
void hover(QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

struct MainWindow {
    QWidget widget{nullptr, Qt::FramelessWindowHint};
    explicit MainWindow(QPoint at) {
        widget.setFixedSize(689, 425);
        widget.move(at);
        widget.show();
    }
};

} // namespace

class MessageWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheTextUnderItsTitleInAFramedBorderlessBox();
    void escapeAndEnterCloseOtherKeysDoNothing();
    void closeButtonClosesOnlyOnAClickOverIt();
    void nothingElseInTheMainWindowTakesInputWhileItIsOpen();
    void centredOnTheMainWindowWhereverItWasDragged();
    void overlongFileNameWrapsInsteadOfRunningOff();
    void longMessageScrollsWithinTheBoxAndCopiesWhole();
};

void MessageWindowTest::showsTheTextUnderItsTitleInAFramedBorderlessBox() {
    MainWindow main(QPoint(50, 40));
    QString shown, title;
    QRect titleAt, messageAt, buttonAt;
    QSize size;
    bool insideMainWindow = false, nothingTakesFocus = true, holdsFocus = false;
    QString spokenRole, spokenName, spokenText;
    QImage look;
    const QString text = QStringLiteral(
        "Edited filenames contain duplicates.\r\n\r\nMake each edited <name> unique before "
        "renaming, then click Rename again to carry out the renaming of the files.");
    QVERIFY(showAndAct(&main.widget, text, [&](frmMessageBox* box) {
        auto* message = box->findChild<QLabel*>(QStringLiteral("lblMessage"));
        auto* titleLabel = box->findChild<QLabel*>(QStringLiteral("lblTitle"));
        auto* button = box->findChild<PictureButton*>(QStringLiteral("ImgXbut"));
        if (message == nullptr || titleLabel == nullptr || button == nullptr)
            return box->closeBox();
        shown = message->text();
        messageAt = QRect(message->mapTo(box, QPoint()), message->size());
        title = titleLabel->text();
        titleAt = titleLabel->geometry();
        buttonAt = button->geometry();
        size = box->size();
        // No window of its own, which a window system could put anywhere.
        insideMainWindow = !box->isWindow() && box->parentWidget() == &main.widget;
        for (QWidget* child : box->findChildren<QWidget*>())
            nothingTakesFocus = nothingTakesFocus && child->focusPolicy() == Qt::NoFocus;
        holdsFocus = main.widget.focusWidget() == box;
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(box);
        spokenRole = QString::number(spoken->role(), 16);
        spokenName = spoken->text(QAccessible::Name);
        spokenText = spoken->text(QAccessible::Description);
        look = box->grab().toImage();
        box->closeBox();
    }));
    QCOMPARE(shown,
             QStringLiteral("Edited filenames contain duplicates.\n\nMake each edited <name> "
                            "unique before renaming, then click Rename again to carry "
                            "out the renaming of the files."));
    QCOMPARE(title, QStringLiteral("Message"));
    QCOMPARE(titleAt.topLeft(), QPoint(40, 32));
    QCOMPARE(messageAt.topLeft(), QPoint(40, 64));
    QCOMPARE(messageAt.width(), 303);
    // Wrapped at its width: the two paragraphs and the wrapped advice take more than three lines.
    QVERIFY(messageAt.height() > 3 * QFontMetrics(QApplication::font()).lineSpacing());
    QCOMPARE(buttonAt, QRect(347, 11, 19, 19));
    QCOMPARE(size, QSize(385, 209));
    QVERIFY(insideMainWindow);
    QVERIFY(nothingTakesFocus);
    // A screen reader hears an alert with the whole text as the box takes the focus.
    QVERIFY(holdsFocus);
    QCOMPARE(spokenRole, QString::number(QAccessible::AlertMessage, 16));
    QCOMPARE(spokenName, title);
    QCOMPARE(spokenText, shown);
    // The one-pixel black frame, and the ground inside it.
    for (QPoint edge : {QPoint(0, 0), QPoint(384, 100), QPoint(200, 208), QPoint(0, 208)})
        QCOMPARE(look.pixel(edge), qRgb(0, 0, 0));
    QVERIFY(look.pixel(1, 100) != qRgb(0, 0, 0));
    QVERIFY(look.pixel(383, 200) != qRgb(0, 0, 0));

    // A second message shows its own text, never the first one's.
    QVERIFY(showAndAct(&main.widget, QString(), [&](frmMessageBox* box) {
        shown = box->findChild<QLabel*>(QStringLiteral("lblMessage"))->text();
        box->closeBox();
    }));
    QCOMPARE(shown, QString());
}

void MessageWindowTest::escapeAndEnterCloseOtherKeysDoNothing() {
    MainWindow main(QPoint(50, 40));
    for (Qt::Key closer : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        bool openAfterOtherKeys = false;
        QVERIFY(showAndAct(&main.widget, QStringLiteral("Text"), [&](frmMessageBox* box) {
            for (Qt::Key other : {Qt::Key_A, Qt::Key_Space, Qt::Key_Tab, Qt::Key_F1,
                                  Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Colon})
                QTest::keyClick(box, other);
            QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
            openAfterOtherKeys = box->isVisible();
            QTest::keyClick(box, closer);
        }));
        QVERIFY2(openAfterOtherKeys, qPrintable(QString::number(closer, 16)));
    }
}

void MessageWindowTest::closeButtonClosesOnlyOnAClickOverIt() {
    MainWindow main(QPoint(50, 40));
    bool openAfterSlipping = false, openAfterBackgroundClick = false;
    PictureButton::State afterBackgroundMove = PictureButton::State::Hover;
    QVERIFY(showAndAct(&main.widget, QStringLiteral("Text"), [&](frmMessageBox* box) {
        auto* button = box->findChild<PictureButton*>(QStringLiteral("ImgXbut"));
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(9, 9));
        QTest::mouseMove(button, QPoint(-40, 30));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-40, 30));
        openAfterSlipping = box->isVisible();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(100, 150));
        openAfterBackgroundClick = box->isVisible();

        hover(button, QPoint(9, 9));
        if (button->state() != PictureButton::State::Hover)
            return;
        hover(box, QPoint(200, 30));
        afterBackgroundMove = button->state();

        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(9, 9));
    }));
    QVERIFY(openAfterSlipping);
    QVERIFY(openAfterBackgroundClick);
    QCOMPARE(afterBackgroundMove, PictureButton::State::Normal);
}

void MessageWindowTest::nothingElseInTheMainWindowTakesInputWhileItIsOpen() {
    MainWindow main(QPoint(50, 40));
    auto* button = new QPushButton(QStringLiteral("Under"), &main.widget);
    button->setGeometry(10, 10, 80, 24);
    auto* edit = new QLineEdit(&main.widget);
    edit->setGeometry(10, 390, 80, 20);
    button->show();
    edit->show();
    int clicks = 0, shortcuts = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    QObject::connect(new QShortcut(QKeySequence::Undo, &main.widget), &QShortcut::activated,
                     [&] { ++shortcuts; });
    QApplication::setActiveWindow(&main.widget);
    QVERIFY(QTest::qWaitForWindowActive(&main.widget));
    edit->setFocus();

    QWidget* focusInside = nullptr;
    QString typed = QStringLiteral("not read");
    QVERIFY(showAndAct(&main.widget, QStringLiteral("Text"), [&](frmMessageBox* box) {
        QWindow* window = main.widget.windowHandle();
        QTest::mouseClick(window, Qt::LeftButton, {}, button->geometry().center());
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_Tab);
        QTest::keyClick(window, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(window, Qt::Key_A);
        QTest::keyClick(window, Qt::Key_B);
        focusInside = QApplication::focusWidget() == box ? box : nullptr;
        typed = edit->text();
        QTest::keyClick(window, Qt::Key_Escape);
    }));
    QVERIFY(focusInside != nullptr);
    QCOMPARE(clicks, 0);
    QCOMPARE(shortcuts, 0);
    QCOMPARE(typed, QString());
    // Closed, the focus is back where it was, and the window takes input again.
    QCOMPARE(QApplication::focusWidget(), edit);
    QTest::mouseClick(main.widget.windowHandle(), Qt::LeftButton, {}, button->geometry().center());
    QCOMPARE(clicks, 1);
}

void MessageWindowTest::centredOnTheMainWindowWhereverItWasDragged() {
    // The offscreen screen is 800 x 600: the later places lie partly beyond it.
    const QPoint centred((689 - 385) / 2, (425 - 209) / 2);
    for (QPoint at : {QPoint(50, 40), QPoint(600, 450), QPoint(-300, -100)}) {
        MainWindow main(at);
        QPoint boxAt, boxAfterDrag;
        QVERIFY(showAndAct(&main.widget, QStringLiteral("Text"), [&](frmMessageBox* box) {
            boxAt = box->mapToGlobal(QPoint(0, 0));
            // It travels with the main window.
            main.widget.move(at + QPoint(37, -21));
            boxAfterDrag = box->mapToGlobal(QPoint(0, 0));
            box->closeBox();
        }));
        QCOMPARE(boxAt, at + centred);
        QCOMPARE(boxAfterDrag, at + QPoint(37, -21) + centred);
    }
}

void MessageWindowTest::overlongFileNameWrapsInsteadOfRunningOff() {
    MainWindow main(QPoint(10, 10));
    const QString name = QString(120, QLatin1Char('x')) + QStringLiteral(".txt");
    const QString text = QStringLiteral("Could not rename ") + name + QStringLiteral(" to y.txt.");
    QString shown;
    int widest = 0;
    QVERIFY(showAndAct(&main.widget, text, [&](frmMessageBox* box) {
        auto* message = box->findChild<QLabel*>(QStringLiteral("lblMessage"));
        shown = message->text();
        widest = message->minimumSizeHint().width();
        box->closeBox();
    }));
    QVERIFY2(widest <= 303, qPrintable(QString::number(widest)));
    QCOMPARE(shown.remove(QChar(0x200B)), text);
}

void MessageWindowTest::longMessageScrollsWithinTheBoxAndCopiesWhole() {
    MainWindow main(QPoint(10, 10));
    QString text = QStringLiteral("These files could not be put back:\r\n\r\n");
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("/home/user/Pictures/archive_%1/IMG_%1.JPG\r\n").arg(i);
    text +=
        QStringLiteral("and 12 more.\r\n\r\nRename them back by hand, or open the folder again.");
    QGuiApplication::clipboard()->clear();
    QSize size;
    int atStart = 0, afterDown = 0, afterHome = 0, endBottom = 0;
    bool openAfterCopy = false;
    QVERIFY(showAndAct(&main.widget, text, [&](frmMessageBox* box) {
        auto* message = box->findChild<QLabel*>(QStringLiteral("lblMessage"));
        const auto top = [&] { return message->mapTo(box, QPoint()).y(); };
        size = box->size();
        atStart = top();
        QTest::keyClick(box, Qt::Key_Down);
        afterDown = top();
        QTest::keyClick(box, Qt::Key_End);
        endBottom = message->mapTo(box, QPoint(0, message->height())).y();
        QTest::keyClick(box, Qt::Key_Home);
        afterHome = top();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        openAfterCopy = box->isVisible();
        box->closeBox();
    }));
    // The box keeps its size and place; the text moves within it, down to its last line.
    QCOMPARE(size, QSize(385, 209));
    QCOMPARE(atStart, 64);
    QVERIFY(afterDown < atStart);
    QVERIFY2(endBottom < size.height(), qPrintable(QString::number(endBottom)));
    QCOMPARE(afterHome, atStart);
    QVERIFY(openAfterCopy);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QTEST_MAIN(MessageWindowTest)
#include "message_window_test.moc"
