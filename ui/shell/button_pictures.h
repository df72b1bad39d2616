#pragma once

#include <QColor>

class QPainter;

namespace velmorandi {

enum class ButtonGlyph { Apply, Help, Close, Warning };

// Side of a button picture, in logical pixels.
inline constexpr int kButtonPictureSize = 19;

// Paints one button picture into the square (0, 0, 19, 19) of the painter's
// logical coordinates: a white ground, a thin circle touching the edges and the
// glyph, both in ink. Drawn as vectors so it stays sharp at any pixel ratio.
void paintButtonPicture(QPainter& painter, ButtonGlyph glyph, const QColor& ink);

} // namespace velmorandi
