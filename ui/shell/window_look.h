#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace velmorandi {

// The layout's text is 8.25 points at 96 dots per inch, and the layout is fixed in pixels.
inline constexpr int kLayoutFontPixels = 11;

// The face the layout names, where this system has it; else the platform's own
// default face (the one its dialogs use), never whatever the name falls back to,
// which can be a serif face (Windows without Verdana, Wine).
QFont layoutFace(const QString& family, bool bold = false);

// The platform's default font of the layout: the one the windows' labels use.
QFont defaultFace();

// What every window of the program shares: the system's window colours as the
// palette gives them for text areas (white and black in most themes) and the
// default font.
void useWindowLook(QWidget& window);

} // namespace velmorandi
