#include "shell/about_window.h"
#include "shell/picture_button.h"
#include "version.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>

using velmorandi::frmHelpAbout;
using velmorandi::OverlayBox;
using velmorandi::PictureButton;

namespace {

const QString kMainTitle = QStringLiteral("          Velmorandi %1 ")
                               .arg(QString::fromStdString(velmorandi::GetVersion()));

QList<frmHelpAbout*> openAboutWindows(const QWidget& mainWindow) {
    QList<frmHelpAbout*> open;
    for (frmHelpAbout* about : mainWindow.findChildren<frmHelpAbout*>())
        if (about->isVisible())
            open << about;
    return open;
}

// Runs ShowAbout over a stand-in for the main window; inspect sees the window while it
// is modal and should close it. A failed check inside still closes it, so nothing hangs.
void showAboutOver(QWidget& mainWindow, const std::function<void(frmHelpAbout&)>& inspect) {
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<frmHelpAbout*>(OverlayBox::waiting());
        QVERIFY(about);
        if (QTest::qWaitForWindowActive(about))
            inspect(*about);
        inspected = true;
        if (about->isVisible())
            about->closeBox();
    });
    velmorandi::ShowAbout(&mainWindow, kMainTitle);
    QVERIFY(inspected);
}

} // namespace

class AboutWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTheProductAuthorAndDescriptionTexts();
    void opensExactlyOverTheMainWindowWhereverItIs();
    void webAddressCanBeSelectedButNeverChanged();
    void onlyEscapeEnterAndTheCloseButtonCloseIt();
    void f1InsideTheWindowOpensNothingMore();
};

void AboutWindowTest::showsTheProductAuthorAndDescriptionTexts() {
    QWidget mainWindow;
    frmHelpAbout about(&mainWindow, QStringLiteral("   ") + kMainTitle + QStringLiteral("  "));
    const QString version = QString::fromStdString(velmorandi::GetVersion());

    auto* product = about.findChild<QLabel*>(QStringLiteral("lblProductName"));
    QVERIFY(product);
    QCOMPARE(product->text(), QStringLiteral("Velmorandi ") + version);

    auto* author = about.findChild<QLabel*>(QStringLiteral("lblAuthor"));
    QVERIFY(author);
    QCOMPARE(author->text().split(QStringLiteral("\r\n")),
             QStringList({"Designed & Developed by", "Ombrix", "Tallowmere"}));

    auto* aboutText = about.findChild<QLabel*>(QStringLiteral("lblAbout"));
    QVERIFY(aboutText);
    QVERIFY(aboutText->text().contains(QStringLiteral("Velmorandi")));

    auto* desc = about.findChild<QLabel*>(QStringLiteral("lblDesc"));
    QVERIFY(desc);
    const QString text = desc->text();
    const QString lead = QStringLiteral("This release is ") + version +
                         QStringLiteral(" and is featured with (a) find and replace,");
    const qsizetype at = text.indexOf(lead);
    QVERIFY2(at > 1, qPrintable(text));
    QCOMPARE(text.at(at - 1), QChar(u' '));
    QVERIFY(text.contains(QStringLiteral("organisation doesn\u2019t take")));
    QVERIFY(text.endsWith(QStringLiteral("taken into consideration. ")));
    // The label keeps its size: the whole paragraph must fit inside it.
    QVERIFY2(desc->heightForWidth(desc->width()) <= desc->height(),
             qPrintable(QString::number(desc->heightForWidth(desc->width()))));

    auto* url = about.findChild<QLineEdit*>(QStringLiteral("txtUrl"));
    QVERIFY(url);
    QCOMPARE(url->text(), QStringLiteral("www.ombrix.example"));
    QVERIFY(url->fontMetrics().horizontalAdvance(url->text()) < url->width());
}

void AboutWindowTest::opensExactlyOverTheMainWindowWhereverItIs() {
    QWidget mainWindow(nullptr, Qt::FramelessWindowHint);
    mainWindow.setFixedSize(689, 425);
    for (const QPoint& place : {QPoint(40, 30), QPoint(517, 283), QPoint(-350, 900)}) {
        mainWindow.move(place);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        showAboutOver(mainWindow, [&](frmHelpAbout& about) {
            // Inside the main window, which no window system can move it away from.
            QVERIFY(!about.isWindow());
            QCOMPARE(QRect(about.mapToGlobal(QPoint(0, 0)), about.size()),
                     mainWindow.frameGeometry());
            QTRY_COMPARE(QApplication::focusWidget(),
                         about.findChild<QLineEdit*>(QStringLiteral("txtUrl")));
            QVERIFY(!about.findChild<QLineEdit*>(QStringLiteral("txtUrl"))->hasSelectedText());
            QTest::keyClick(&about, Qt::Key_Escape);
        });
    }

    // A main window of another size: centred on its frame, halves rounded.
    mainWindow.setFixedSize(790, 526);
    mainWindow.move(100, 200);
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    showAboutOver(mainWindow, [&](frmHelpAbout& about) {
        const QRect main = mainWindow.frameGeometry();
        QCOMPARE(about.mapToGlobal(QPoint(0, 0)), main.topLeft() + QPoint(51, 51));
        about.closeBox();
    });
}

void AboutWindowTest::webAddressCanBeSelectedButNeverChanged() {
    QWidget mainWindow;
    mainWindow.resize(689, 425);
    mainWindow.show();
    frmHelpAbout about(&mainWindow, kMainTitle);
    about.open();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    auto* url = about.findChild<QLineEdit*>(QStringLiteral("txtUrl"));
    QVERIFY(url);
    const QString address = url->text();

    QTest::keyClicks(url, QStringLiteral("typed"));
    QTest::keyClick(url, Qt::Key_Backspace);
    QTest::keyClick(url, Qt::Key_Delete);
    QTest::keyClick(url, Qt::Key_Space);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(url, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(url, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(url->text(), address);
    QVERIFY(about.isVisible());
    // Keys never reach the box: the caret does not move and nothing gets selected.
    url->setCursorPosition(0);
    QTest::keyClick(url, Qt::Key_End);
    QTest::keyClick(url, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(url->cursorPosition(), 0);
    QVERIFY(!url->hasSelectedText());

    // The context menu's Paste and Delete act through these slots.
    url->selectAll();
    url->paste();
    QCOMPARE(url->text(), address);
    url->setSelection(4, 6);
    url->del();
    QCOMPARE(url->text(), address);

    QSignalSpy changes(url, &QLineEdit::textChanged);
    url->setText(QStringLiteral("www.elsewhere.example"));
    QCOMPARE(url->text(), address);
    QCOMPARE(changes.size(), 2); // the change and the single write-back
    url->setText(address);
    QCOMPARE(changes.size(), 2);

    url->setSelection(4, 6);
    QCOMPARE(url->selectedText(), QStringLiteral("ombrix"));
    url->deselect();
    QTest::mouseDClick(url, Qt::LeftButton, {}, QPoint(3, url->height() / 2));
    QVERIFY(url->hasSelectedText());
    QCOMPARE(url->text(), address);
}

void AboutWindowTest::onlyEscapeEnterAndTheCloseButtonCloseIt() {
    QWidget mainWindow;
    const QList<std::function<void(frmHelpAbout&)>> closers = {
        [](frmHelpAbout& about) { QTest::keyClick(&about, Qt::Key_Escape); },
        [](frmHelpAbout& about) {
            QTest::keyClick(about.findChild<QLineEdit*>(QStringLiteral("txtUrl")), Qt::Key_Return);
        },
        [](frmHelpAbout& about) {
            QTest::keyClick(about.findChild<QLineEdit*>(QStringLiteral("txtUrl")), Qt::Key_Enter,
                            Qt::KeypadModifier);
        },
        [](frmHelpAbout& about) {
            QTest::mouseClick(about.findChild<PictureButton*>(QStringLiteral("ImgXbut")),
                              Qt::LeftButton, {}, QPoint(9, 9));
        },
    };
    mainWindow.resize(689, 425);
    mainWindow.show();
    for (const auto& close : closers) {
        frmHelpAbout about(&mainWindow, kMainTitle);
        about.open();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        auto* url = about.findChild<QLineEdit*>(QStringLiteral("txtUrl"));
        for (int key : {int(Qt::Key_A), int(Qt::Key_Tab), int(Qt::Key_Space), int(Qt::Key_F4),
                        int(Qt::Key_Backspace), int(Qt::Key_Left)}) {
            QTest::keyClick(url, Qt::Key(key));
            QTest::keyClick(&about, Qt::Key(key));
        }
        QVERIFY(about.isVisible());
        QCOMPARE(QApplication::focusWidget(), url);
        close(about);
        QVERIFY(!about.isVisible());
    }

    // Moving over the window's background puts the close button back to normal.
    frmHelpAbout about(&mainWindow, kMainTitle);
    about.open();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* closeButton = about.findChild<PictureButton*>(QStringLiteral("ImgXbut"));
    closeButton->setState(PictureButton::State::Hover);
    QTest::mouseMove(&about, QPoint(400, 120));
    QTRY_COMPARE(closeButton->state(), PictureButton::State::Normal);
}

void AboutWindowTest::f1InsideTheWindowOpensNothingMore() {
    QWidget mainWindow(nullptr, Qt::FramelessWindowHint);
    mainWindow.resize(689, 425);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    int mostOpen = 0;
    showAboutOver(mainWindow, [&](frmHelpAbout& about) {
        auto* url = about.findChild<QLineEdit*>(QStringLiteral("txtUrl"));
        for (Qt::KeyboardModifiers modifiers :
             {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
              Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)})
            QTest::keyClick(url, Qt::Key_F1, modifiers);
        QVERIFY(about.isVisible());
        QCOMPARE(url->text(), frmHelpAbout::webAddress);

        // A main-window key handler that still sees F1 must not stack a second window.
        QTimer::singleShot(0, [&] {
            mostOpen = int(openAboutWindows(mainWindow).size());
            if (OverlayBox::waiting() != &about)
                OverlayBox::waiting()->closeBox();
        });
        velmorandi::ShowAbout(&mainWindow, kMainTitle);
        QTRY_VERIFY(mostOpen > 0);
        QTest::keyClick(url, Qt::Key_Escape);
    });
    QCOMPARE(mostOpen, 1);
    QVERIFY(openAboutWindows(mainWindow).isEmpty());
}

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
