#include "shell/window_look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPalette>
#include <QWidget>

#include <algorithm>
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

// Whether text asked for in this face is drawn in it, not in a stand-in that
// the font matching picked (on Windows without Tahoma, a serif math face). A
// bitmap face ("MS Sans Serif" on Windows, and Wine's) only at 100 %: scaled,
// it is drawn larger than it measures.
bool drawnAs(const QString& family) {
    if (family.isEmpty() || !QFontDatabase::hasFamily(family))
        return false;
    if (!QFontDatabase::isSmoothlyScalable(family) && !qFuzzyCompare(qApp->devicePixelRatio(), 1.0))
        return false;
    QFont face(family);
    face.setPixelSize(kLayoutFontPixels);
    return QFontInfo(face).family().compare(family, Qt::CaseInsensitive) == 0;
}

// The faces the system itself names for its windows' text: the message font
// (Windows' NONCLIENTMETRICS face, Segoe UI or Tahoma), then the general font
// (the desktop's on Linux); sans-serif faces common to both systems last.
QStringList systemFaces() {
    QStringList faces = {QApplication::font("QMessageBoxLabel").family(),
                         QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()};
    faces << QStringLiteral("Segoe UI") << QStringLiteral("Tahoma")
          << QStringLiteral("Microsoft Sans Serif") << QStringLiteral("Arial")
          << QStringLiteral("Noto Sans") << QStringLiteral("Liberation Sans")
          << QStringLiteral("DejaVu Sans");
    return faces;
}

// The layout's face where this system draws it, else the first the system names.
QString drawnFace(const QString& family) {
    if (drawnAs(family))
        return family;
    const QStringList faces = systemFaces();
    const auto found = std::find_if(faces.cbegin(), faces.cend(), drawnAs);
    // None of them: whatever the system draws its default font in.
    return found != faces.cend() ? *found : QFontInfo(QApplication::font()).family();
}

} // namespace

QFont layoutFace(const QString& family, bool bold) {
    QFont face(drawnFace(family));
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

QColor dimText(const QPalette& palette) {
    const QColor text = palette.color(QPalette::Text).toRgb();
    const QColor ground = palette.color(QPalette::Base).toRgb();
    for (int percent = 50; percent > 0; percent -= 5) {
        const auto mix = [percent](int from, int to) { return from + (to - from) * percent / 100; };
        const QColor dim(mix(text.red(), ground.red()), mix(text.green(), ground.green()),
                         mix(text.blue(), ground.blue()));
        if (contrastRatio(dim, ground) >= kReadableContrast)
            return dim;
    }
    return text;
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
