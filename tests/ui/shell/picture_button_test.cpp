#include "shell/picture_button.h"

#include <QAccessible>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

using velmorandi::PictureButton;

namespace {

const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);
const QRgb kBlack = qRgb(0x00, 0x00, 0x00);
const QRgb kRed = qRgb(0xFF, 0x00, 0x00);
const QRgb kBlue = qRgb(0x00, 0x00, 0xFF);

QImage picture(PictureButton& button) {
    return button.grab().toImage();
}

// A pixel that lies wholly inside the glyph's solid part.
QPoint glyphPoint(PictureButton::Glyph glyph) {
    switch (glyph) {
    case PictureButton::Glyph::Apply:
    case PictureButton::Glyph::Close:
        return {9, 9};
    case PictureButton::Glyph::Help:
    case PictureButton::Glyph::Warning:
        return {9, 13};
    }
    return {};
}

// Every pixel must be white, the ink or a blend of the two (the ink's full
// channels stay full, its empty ones move together): a stray colour fails.
bool onlyInkAndWhite(const QImage& image, QRgb ink) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            QList<int> faded;
            for (auto [channel, inkChannel] : {std::pair{qRed(p), qRed(ink)},
                                               {qGreen(p), qGreen(ink)},
                                               {qBlue(p), qBlue(ink)}}) {
                if (inkChannel == 255 && channel != 255)
                    return false;
                if (inkChannel == 0)
                    faded.append(channel);
            }
            for (int channel : faded)
                if (qAbs(channel - faded.first()) > 1)
                    return false;
        }
    }
    return true;
}

void checkShows(PictureButton& button, QRgb ink) {
    const QImage image = picture(button);
    QCOMPARE(image.size(), QSize(19, 19));
    QCOMPARE(image.pixel(glyphPoint(button.glyph())), ink);
    QCOMPARE(image.pixel(0, 0), kWhite);
    QCOMPARE(image.pixel(18, 18), kWhite);
    QVERIFY(onlyInkAndWhite(image, ink));
}

} // namespace

class PictureButtonTest : public QObject {
    Q_OBJECT
  private slots:
    void everyGlyphStartsBlackOnWhiteInItsCircle();
    void hoverPressMoveAndReleaseOverTheButtonClickAfterNormal();
    void releaseOffTheButtonDoesNotClick();
    void onlyTheLeftButtonClicksButAnyButtonPresses();
    void buttonWithoutStatesStaysBlack();
    void picturesAreDrawnAtTheScreensPixelRatio();
    void screenReadersSeeANamedButtonTheyCanPress();
};

void PictureButtonTest::everyGlyphStartsBlackOnWhiteInItsCircle() {
    for (auto glyph : {PictureButton::Glyph::Apply, PictureButton::Glyph::Help,
                       PictureButton::Glyph::Close, PictureButton::Glyph::Warning}) {
        PictureButton button(glyph);
        QCOMPARE(button.size(), QSize(19, 19));
        QCOMPARE(button.focusPolicy(), Qt::NoFocus);
        checkShows(button, kBlack);
        // The circle touches the middle of each edge.
        const QImage image = picture(button);
        for (QPoint edge : {QPoint(0, 9), QPoint(18, 9), QPoint(9, 0), QPoint(9, 18)})
            QVERIFY2(qGray(image.pixel(edge)) < 128, qPrintable(QString::number(edge.x())));
    }
}

void PictureButtonTest::hoverPressMoveAndReleaseOverTheButtonClickAfterNormal() {
    QWidget window;
    window.resize(100, 100);
    auto* button = new PictureButton(PictureButton::Glyph::Apply, &window);
    button->move(40, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QList<PictureButton::State> stateAtClick;
    QObject::connect(button, &PictureButton::clicked,
                     [&] { stateAtClick.append(button->state()); });

    QTest::mouseMove(button, QPoint(9, 9));
    QCOMPARE(button->state(), PictureButton::State::Hover);
    checkShows(*button, kRed);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(9, 9));
    QCOMPARE(button->state(), PictureButton::State::Pressed);
    checkShows(*button, kBlue);

    QTest::mouseMove(button, QPoint(10, 9));
    QCOMPARE(button->state(), PictureButton::State::Hover);
    checkShows(*button, kRed);
    QVERIFY(stateAtClick.isEmpty());

    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 9));
    QCOMPARE(button->state(), PictureButton::State::Normal);
    checkShows(*button, kBlack);
    QCOMPARE(stateAtClick, QList<PictureButton::State>{PictureButton::State::Normal});
}

void PictureButtonTest::releaseOffTheButtonDoesNotClick() {
    QWidget window;
    window.resize(100, 100);
    auto* button = new PictureButton(PictureButton::Glyph::Close, &window);
    button->move(40, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicks(button, &PictureButton::clicked);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(9, 9));
    // While held, moves reach the button off its face too and show hover.
    QTest::mouseMove(button, QPoint(40, 30));
    QCOMPARE(button->state(), PictureButton::State::Hover);
    checkShows(*button, kRed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(40, 30));
    QCOMPARE(button->state(), PictureButton::State::Normal);
    QCOMPARE(clicks.count(), 0);

    // A release over the button without a press on it is no click either.
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(9, 9));
    QCOMPARE(clicks.count(), 0);

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(clicks.count(), 1);
}

void PictureButtonTest::onlyTheLeftButtonClicksButAnyButtonPresses() {
    PictureButton button(PictureButton::Glyph::Help);
    QSignalSpy clicks(&button, &PictureButton::clicked);
    for (auto mouseButton : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(&button, mouseButton, {}, QPoint(9, 9));
        QCOMPARE(button.state(), PictureButton::State::Pressed);
        QTest::mouseRelease(&button, mouseButton, {}, QPoint(9, 9));
        QCOMPARE(button.state(), PictureButton::State::Normal);
    }
    QCOMPARE(clicks.count(), 0);
}

void PictureButtonTest::buttonWithoutStatesStaysBlack() {
    PictureButton warning(PictureButton::Glyph::Warning, nullptr, false);
    QSignalSpy clicks(&warning, &PictureButton::clicked);
    QTest::mouseMove(&warning, QPoint(9, 9));
    checkShows(warning, kBlack);
    QTest::mousePress(&warning, Qt::LeftButton, {}, QPoint(9, 9));
    checkShows(warning, kBlack);
    QTest::mouseRelease(&warning, Qt::LeftButton, {}, QPoint(9, 9));
    checkShows(warning, kBlack);
    QCOMPARE(warning.state(), PictureButton::State::Normal);
    QCOMPARE(clicks.count(), 1);
}

void PictureButtonTest::picturesAreDrawnAtTheScreensPixelRatio() {
    PictureButton button(PictureButton::Glyph::Close);
    button.setState(PictureButton::State::Pressed);
    QPixmap sharp(38, 38);
    sharp.setDevicePixelRatio(2.0);
    button.render(&sharp);
    const QImage image = sharp.toImage();
    // Drawn, not scaled up: the circle is one device pixel thin, so the pixel
    // just inside it at the left edge is already white.
    QCOMPARE(image.pixel(19, 19), kBlue);
    QCOMPARE(image.pixel(0, 0), kWhite);
    QVERIFY(qBlue(image.pixel(1, 19)) == 255 && qRed(image.pixel(1, 19)) < 128);
    QCOMPARE(image.pixel(3, 19), kWhite);
}

void PictureButtonTest::screenReadersSeeANamedButtonTheyCanPress() {
    QWidget window;
    auto* button = new PictureButton(PictureButton::Glyph::Close, &window);
    button->setAccessibleName(QStringLiteral("Close"));
    button->setAccessibleDescription(QStringLiteral("Ends the program"));
    window.show();
    QSignalSpy clicks(button, &PictureButton::clicked);

    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(button);
    QVERIFY(spoken != nullptr);
    QCOMPARE(spoken->role(), QAccessible::Button);
    QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Close"));
    QCOMPARE(spoken->text(QAccessible::Description), QStringLiteral("Ends the program"));
    QVERIFY(spoken->actionInterface() != nullptr);
    QCOMPARE(spoken->actionInterface()->actionNames(),
             QStringList{QAccessibleActionInterface::pressAction()});
    spoken->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(clicks.count(), 1);
}

QTEST_MAIN(PictureButtonTest)
#include "picture_button_test.moc"
