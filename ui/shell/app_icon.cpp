#include "shell/app_icon.h"

#include <QPainter>

#include <algorithm>

namespace velmorandi {

namespace {

constexpr int kGridUnits = 24;

// Rectangles in grid units; packaging/velmorandi.svg draws the same ones.
struct GridRect {
    int left, top, width, height;
};

constexpr GridRect kShapes[] = {
    {1, 7, 22, 1},  // box: top edge
    {1, 16, 22, 1}, // box: bottom edge
    {1, 7, 1, 10},  // box: left edge
    {22, 7, 1, 10}, // box: right edge
    {4, 10, 9, 4},  // the text already typed
    {16, 4, 1, 16}, // I-beam stem, standing across the box near its right end
    {14, 3, 5, 1},  // I-beam top serif
    {14, 20, 5, 1}, // I-beam bottom serif
};

int toPixel(int unit, int size) {
    return unit * size / kGridUnits;
}

// A stroke too thin for the size grows back over its own leading edge, so strokes never
// vanish at 16 px and lines that meet in the grid still meet in pixels.
QRect toPixels(const GridRect& shape, int size) {
    const int right = toPixel(shape.left + shape.width, size);
    const int bottom = toPixel(shape.top + shape.height, size);
    const int left = std::min(toPixel(shape.left, size), right - 1);
    const int top = std::min(toPixel(shape.top, size), bottom - 1);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

QImage programImage(int size, const QColor& ink, const QColor& ground) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(ground);
    QPainter painter(&image);
    for (const GridRect& shape : kShapes)
        painter.fillRect(toPixels(shape, size), ink);
    return image;
}

QPixmap programPicture(int size, const QColor& ink, const QColor& ground) {
    return QPixmap::fromImage(programImage(size, ink, ground));
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addPixmap(programPicture(size, Qt::black, Qt::transparent));
    return icon;
}

} // namespace velmorandi
