#include "shell/button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace velmorandi {

namespace {

constexpr qreal kCentre = kButtonPictureSize / 2.0;

void paintTriangle(QPainter& painter, const QColor& ink) {
    const QPolygonF triangle{{QPointF(7.0, 5.0), QPointF(7.0, 14.0), QPointF(13.5, kCentre)}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPolygon(triangle);
}

void paintCross(QPainter& painter, const QColor& ink) {
    painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(6.0, 6.0), QPointF(13.0, 13.0));
    painter.drawLine(QPointF(13.0, 6.0), QPointF(6.0, 13.0));
}

void paintDot(QPainter& painter, const QColor& ink) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QPointF(kCentre, 13.6), 1.15, 1.15);
}

void paintQuestionMark(QPainter& painter, const QColor& ink) {
    const QRectF hook(7.0, 4.5, 5.0, 5.0);
    QPainterPath path;
    path.arcMoveTo(hook, 160.0);
    path.arcTo(hook, 160.0, -250.0);
    path.lineTo(kCentre, 11.3);
    painter.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    paintDot(painter, ink);
}

void paintExclamationMark(QPainter& painter, const QColor& ink) {
    painter.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(kCentre, 4.5), QPointF(kCentre, 11.3));
    paintDot(painter, ink);
}

} // namespace

void paintButtonPicture(QPainter& painter, ButtonGlyph glyph, const QColor& ink) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(QRectF(0, 0, kButtonPictureSize, kButtonPictureSize), Qt::white);
    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(0.5, 0.5, kButtonPictureSize - 1.0, kButtonPictureSize - 1.0));
    switch (glyph) {
    case ButtonGlyph::Apply:
        paintTriangle(painter, ink);
        break;
    case ButtonGlyph::Help:
        paintQuestionMark(painter, ink);
        break;
    case ButtonGlyph::Close:
        paintCross(painter, ink);
        break;
    case ButtonGlyph::Warning:
        paintExclamationMark(painter, ink);
        break;
    }
    painter.restore();
}

} // namespace velmorandi
