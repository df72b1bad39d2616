#include "shell/window_look.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

#include <cmath>

namespace velmorandi {

namespace {

double relativeLuminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

} // namespace

QFont layoutFace(const QString& family, bool bold) {
    // QFontInfo: the face the default font is really drawn in.
    QFont face(QFontDatabase::families().contains(family, Qt::CaseInsensitive)
                   ? family
                   : QFontInfo(QGuiApplication::font()).family());
    face.setPixelSize(kLayoutFontPixels);
    face.setBold(bold);
    return face;
}

// The platform's default font where the layout was made ("MS Sans Serif").
QFont defaultFace() {
    return layoutFace(QStringLiteral("MS Sans Serif"));
}

void useWindowLook(QWidget& window) {
    window.setFont(defaultFace());
    QPalette colours = window.palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::Text));
    window.setPalette(colours);
    window.setAutoFillBackground(true);
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor towardGround(const QPalette& palette, double share) {
    const QColor text = palette.color(QPalette::WindowText).toRgb();
    const QColor ground = palette.color(QPalette::Window).toRgb();
    const auto mix = [share](int from, int to) {
        return static_cast<int>(std::lround(from + (to - from) * share));
    };
    return QColor(mix(text.red(), ground.red()), mix(text.green(), ground.green()),
                  mix(text.blue(), ground.blue()));
}

QColor softText(const QPalette& palette) {
    const QColor grey = towardGround(palette, 0.25);
    if (contrastRatio(grey, palette.color(QPalette::Window)) >= kReadableContrast)
        return grey;
    return palette.color(QPalette::WindowText);
}

QColor errorText(const QPalette& palette) {
    const QColor ground = palette.color(QPalette::Base);
    QColor red(0xB0, 0x00, 0x20);
    if (const QColor light(0xFF, 0x8A, 0x80);
        contrastRatio(light, ground) > contrastRatio(red, ground))
        red = light;
    if (contrastRatio(red, ground) >= kReadableContrast)
        return red;
    return palette.color(QPalette::Text);
}

void keepOutlinesVisible(QWidget& widget) {
    QPalette colours = widget.palette();
    const QColor text = colours.color(QPalette::WindowText);
    if (text.lightness() <= colours.color(QPalette::Window).lightness())
        return;
    colours.setColor(QPalette::Window, text);
    widget.setPalette(colours);
}

} // namespace velmorandi
