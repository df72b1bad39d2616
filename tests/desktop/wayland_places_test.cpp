// Under a real Wayland compositor (weston, started by with-weston.sh), where
// no program may place its own windows: the message, About and progress
// windows must still show where the layout puts them, which only the
// compositor's own picture of the screen can tell.
#include "main/main_window.h"
#include "main/window_test_support.h"
#include "second_instance_notice.h"
#include "shell/overlay_box.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <optional>

using namespace velmorandi;

namespace {

// The compositor's picture of its whole screen, taken by its screenshooter
// client; a copy is kept in $VELMORANDI_SCREENSHOTS when that is set.
QImage screenshot(const QString& keepAs) {
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setWorkingDirectory(folder.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0)
        return {};
    const QStringList taken = QDir(folder.path()).entryList({QStringLiteral("*.png")});
    if (taken.size() != 1)
        return {};
    const QString file = folder.filePath(taken.first());
    const QString keep = qEnvironmentVariable("VELMORANDI_SCREENSHOTS");
    if (!keep.isEmpty()) {
        QFile::remove(keep + '/' + keepAs + ".png");
        QFile::copy(file, keep + '/' + keepAs + ".png");
    }
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

// Where part shows on screen; a caret blinking in between may change a few pixels.
std::optional<QPoint> findOnScreen(const QImage& screen, const QImage& part) {
    if (screen.isNull() || part.width() > screen.width() || part.height() > screen.height())
        return std::nullopt;
    QList<QPoint> samples;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            samples << QPoint(x * (part.width() - 1) / 11, y * (part.height() - 1) / 11);
    const auto differing = [&](QPoint at, const QList<QPoint>& points, int allowed) {
        int wrong = 0;
        for (QPoint p : points)
            if (screen.pixel(at + p) != part.pixel(p) && ++wrong > allowed)
                break;
        return wrong;
    };
    QList<QPoint> all;
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x)
            all << QPoint(x, y);
    const int allowedWrong = static_cast<int>(all.size()) / 100;
    for (int y = 0; y + part.height() <= screen.height(); ++y)
        for (int x = 0; x + part.width() <= screen.width(); ++x)
            if (differing({x, y}, samples, 4) <= 4 &&
                differing({x, y}, all, allowedWrong) <= allowedWrong)
                return QPoint(x, y);
    return std::nullopt;
}

QImage lookOf(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Waits for the compositor to show the widget as the program draws it, and says where.
std::optional<QPoint> placeOnScreen(QWidget* widget, const QString& keepAs) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        QTest::qWait(150);
        if (const std::optional<QPoint> at = findOnScreen(screenshot(keepAs), lookOf(widget)))
            return at;
    }
    return std::nullopt;
}

QString describe(const std::optional<QPoint>& at) {
    return at ? QStringLiteral("(%1, %2)").arg(at->x()).arg(at->y()) : QStringLiteral("nowhere");
}

} // namespace

class WaylandPlacesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void secondInstanceNoticeHasNoTitleBar();
    void boxesShowWhereTheLayoutPutsThem();
};

void WaylandPlacesTest::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
}

void WaylandPlacesTest::secondInstanceNoticeHasNoTitleBar() {
    QMargins frame(-1, -1, -1, -1);
    std::optional<QPoint> at;
    QTimer::singleShot(0, [&] {
        auto* notice = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (notice == nullptr)
            return;
        at = placeOnScreen(notice, QStringLiteral("second-instance-notice"));
        // What the toolkit draws around a window of its own: nothing at all.
        frame = notice->windowHandle()->frameMargins();
        notice->done(0);
    });
    showSecondInstanceNotice();
    QVERIFY2(at.has_value(), "the notice never showed");
    QCOMPARE(frame, QMargins());
}

void WaylandPlacesTest::boxesShowWhereTheLayoutPutsThem() {
    QTemporaryDir folder;
    for (const char* name : {"one.txt", "two.txt", "three.txt", "four.txt"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir::setCurrent(folder.path()));
    frmMainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const std::optional<QPoint> mainAt = placeOnScreen(&window, QStringLiteral("main-window"));
    QVERIFY2(mainAt.has_value(), "the main window never showed");
    const QRect main(*mainAt, window.size());

    // Centred on the main window, or, as large as it, covering it exactly.
    const auto check = [&](QWidget* box, const QString& name) {
        const std::optional<QPoint> at = placeOnScreen(box, name);
        const QPoint expected = main.topLeft() + box->mapTo(&window, QPoint(0, 0));
        const QPoint centreOffset =
            QRect(at.value_or(QPoint()), box->size()).center() - main.center();
        qInfo("%s: main window at (%d, %d) %dx%d, box %dx%d at %s", qPrintable(name), main.x(),
              main.y(), main.width(), main.height(), box->width(), box->height(),
              qPrintable(describe(at)));
        return at == expected && centreOffset.manhattanLength() <= 1;
    };
    const auto openAndCheck = [&](const std::function<void()>& open, const QString& name) {
        bool placed = false, waited = true;
        QTimer::singleShot(0, [&] {
            OverlayBox* box = OverlayBox::waiting();
            if (box == nullptr)
                return;
            placed = check(box, name);
            waited = OverlayBox::waiting() == box;
            box->closeBox();
        });
        open();
        return placed && waited;
    };

    // A refused rename says why in the message window.
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("CmdBlank")), Qt::LeftButton);
    QVERIFY(openAndCheck(
        [&] {
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("CmdRename")),
                              Qt::LeftButton);
        },
        QStringLiteral("message")));
    QVERIFY(openAndCheck([&] { QTest::keyClick(window.windowHandle(), Qt::Key_F1); },
                         QStringLiteral("about")));

    // A rename held at its first file shows the progress window; Escape stops
    // it, and the message says so.
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("CmdReset")), Qt::LeftButton);
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("tText")), QStringLiteral("x_"));
    QTest::mouseClick(window.findChild<QRadioButton*>(QStringLiteral("oLeftText")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("ImgApply(2)")), Qt::LeftButton);
    test::HeldRun held;
    bool progressPlaced = false;
    held.at(1, [&] {
        QWidget* progress = nullptr;
        QTRY_VERIFY((progress = window.findChild<QWidget*>(QStringLiteral("frmProgress"))) !=
                        nullptr &&
                    progress->isVisible());
        progressPlaced = check(progress, QStringLiteral("progress"));
        QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    });
    window.setRunTesting(held.testing());
    // The message that nothing was renamed.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (OverlayBox* message = OverlayBox::waiting())
            message->closeBox();
    });
    closer.start(100);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("CmdRename")), Qt::LeftButton);
    QVERIFY(progressPlaced);
}

QTEST_MAIN(WaylandPlacesTest)
#include "wayland_places_test.moc"
