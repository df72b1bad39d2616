#include "shell/window_look.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace velmorandi {

void useWindowLook(QWidget& window) {
    QFont face(QStringLiteral("MS Sans Serif"));
    face.setStyleHint(QFont::SansSerif);
    face.setPixelSize(11);
    window.setFont(face);
    QPalette colours = window.palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::Text));
    window.setPalette(colours);
    window.setAutoFillBackground(true);
}

} // namespace velmorandi
