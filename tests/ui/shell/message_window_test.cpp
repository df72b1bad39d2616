#include "shell/message_window.h"
#include "shell/picture_button.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <functional>

using velmorandi::frmMessageBox;
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
        if (auto* box = qobject_cast<frmMessageBox*>(QApplication::activeModalWidget()))
            act(box);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<frmMessageBox*>(QApplication::activeModalWidget())) {
            leftOpen = true;
            box->reject();
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
    void centredOnTheMainWindowWhereverItWasDragged();
    void overlongFileNameWrapsInsteadOfRunningOff();
};

void MessageWindowTest::showsTheTextUnderItsTitleInAFramedBorderlessBox() {
    MainWindow main(QPoint(50, 40));
    QString shown, title;
    QRect titleAt, messageAt, buttonAt;
    QSize size;
    bool borderless = false, nothingTakesFocus = true;
    QImage look;
    const QString text = QStringLiteral(
        "Edited filenames contain duplicates.\r\n\r\nMake each edited <name> unique before "
        "renaming, then click Rename again to carry out the renaming of the files.");
    QVERIFY(showAndAct(&main.widget, text, [&](frmMessageBox* box) {
        auto* message = box->findChild<QLabel*>(QStringLiteral("lblMessage"));
        auto* titleLabel = box->findChild<QLabel*>(QStringLiteral("lblTitle"));
        auto* button = box->findChild<PictureButton*>(QStringLiteral("ImgXbut"));
        if (message == nullptr || titleLabel == nullptr || button == nullptr)
            return box->reject();
        shown = message->text();
        messageAt = message->geometry();
        title = titleLabel->text();
        titleAt = titleLabel->geometry();
        buttonAt = button->geometry();
        size = box->size();
        borderless = box->windowFlags().testFlag(Qt::FramelessWindowHint);
        for (QWidget* child : box->findChildren<QWidget*>())
            nothingTakesFocus = nothingTakesFocus && child->focusPolicy() == Qt::NoFocus;
        look = box->grab().toImage();
        box->reject();
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
    QVERIFY(borderless);
    QVERIFY(nothingTakesFocus);
    // The one-pixel black frame, and the ground inside it.
    for (QPoint edge : {QPoint(0, 0), QPoint(384, 100), QPoint(200, 208), QPoint(0, 208)})
        QCOMPARE(look.pixel(edge), qRgb(0, 0, 0));
    QVERIFY(look.pixel(1, 100) != qRgb(0, 0, 0));
    QVERIFY(look.pixel(383, 200) != qRgb(0, 0, 0));

    // A second message shows its own text, never the first one's.
    QVERIFY(showAndAct(&main.widget, QString(), [&](frmMessageBox* box) {
        shown = box->findChild<QLabel*>(QStringLiteral("lblMessage"))->text();
        box->reject();
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

void MessageWindowTest::centredOnTheMainWindowWhereverItWasDragged() {
    // The offscreen screen is 800 x 600: the later places lie partly beyond it.
    for (QPoint at : {QPoint(50, 40), QPoint(600, 450), QPoint(-300, -100)}) {
        MainWindow main(at);
        QPoint boxAt;
        QVERIFY(showAndAct(&main.widget, QStringLiteral("Text"), [&](frmMessageBox* box) {
            boxAt = box->frameGeometry().topLeft();
            box->reject();
        }));
        QCOMPARE(boxAt, at + QPoint((689 - 385) / 2, (425 - 209) / 2));
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
        box->reject();
    }));
    QVERIFY2(widest <= 303, qPrintable(QString::number(widest)));
    QCOMPARE(shown.remove(QChar(0x200B)), text);
}

QTEST_MAIN(MessageWindowTest)
#include "message_window_test.moc"
