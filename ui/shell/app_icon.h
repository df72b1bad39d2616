#pragma once

#include <QIcon>
#include <QPixmap>

namespace velmorandi {

// The program's picture: a text-entry box with an I-beam cursor.
QPixmap programPicture(int size);
// The window icon at 16, 32, 48 and 256 pixels.
QIcon applicationIcon();

} // namespace velmorandi
