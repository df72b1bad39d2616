#include "shell/window_look.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

namespace velmorandi {

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

} // namespace velmorandi
