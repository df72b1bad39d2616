#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QPalette;
class QWidget;

namespace velmorandi {

// The layout's text is 8.25 points at 96 dots per inch, and the layout is fixed in pixels.
inline constexpr int kLayoutFontPixels = 11;

// The face the layout names where this system draws it; else the face the
// system names for its own windows' text, or a common sans-serif one, never
// whatever the font matching falls back to, which can be a serif face
// (Windows without Verdana and Tahoma, a fresh Wine prefix).
QFont layoutFace(const QString& family, bool bold = false);

// The platform's default font of the layout: the one the windows' labels use.
QFont defaultFace();

// What every window of the program shares: the system's window colours as the
// palette gives them for text areas (white and black in most themes) and the
// default font.
void useWindowLook(QWidget& window);

// Contrast of two colours as accessibility guidelines reckon it, from 1 to 21;
// text wants at least kReadableContrast.
double contrastRatio(const QColor& a, const QColor& b);
inline constexpr double kReadableContrast = 4.5;

// The window's text colour moved toward its ground by share (0 to 1): the
// designed greys on a white ground (a quarter gives #404040, a half #808080),
// and as far from a dark ground in a dark theme.
QColor towardGround(const QPalette& palette, double share);
// Grey text on the window's ground, #404040 on white, never below readable contrast.
QColor softText(const QPalette& palette);

// Text of what takes no part, on the text areas' ground: the text colour as
// far toward the ground as it stays readable.
QColor dimText(const QPalette& palette);

// Red for what is wrong, on the text areas' ground: dark on a light ground,
// light on a dark one; the plain text colour where neither reads.
QColor errorText(const QPalette& palette);

// Styles draw the outlines of frames and option buttons a shade darker than
// the window colour, which vanishes on a dark ground: there, and in the
// widget's children, they are drawn a shade darker than the text instead.
void keepOutlinesVisible(QWidget& widget);

} // namespace velmorandi
