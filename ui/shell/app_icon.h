#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace velmorandi {

// The program's picture: a text-entry box with an I-beam cursor, size x size
// pixels, drawn on a 24-unit grid snapped to whole pixels so it stays sharp.
QImage programImage(int size, const QColor& ink = Qt::black, const QColor& ground = Qt::white);
QPixmap programPicture(int size, const QColor& ink = Qt::black, const QColor& ground = Qt::white);
// The window icon at 16, 32, 48 and 256 pixels, black on a transparent ground.
QIcon applicationIcon();

} // namespace velmorandi
