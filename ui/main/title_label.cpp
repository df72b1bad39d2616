#include "main/title_label.h"

#include <QMouseEvent>

namespace velmorandi {

TitleLabel::TitleLabel(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setCursor(Qt::SizeAllCursor);
}

void TitleLabel::mousePressEvent(QMouseEvent* event) {
    m_dragAnchor = event->position().toPoint();
    event->accept();
}

void TitleLabel::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved();
    // The label travels with the window, so the offset from the anchor is how
    // far the pointer has got ahead of the window since the last move.
    if (event->buttons() == Qt::LeftButton)
        window()->move(window()->pos() + event->position().toPoint() - m_dragAnchor);
    event->accept();
}

} // namespace velmorandi
