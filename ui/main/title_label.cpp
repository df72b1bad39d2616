#include "main/title_label.h"

#include <QMouseEvent>
#include <QWindow>

namespace velmorandi {

TitleLabel::TitleLabel(QWidget* parent)
    : QLabel(parent),
      m_systemMove([](QWindow* window) { return window != nullptr && window->startSystemMove(); }) {
    setMouseTracking(true);
    setCursor(Qt::SizeAllCursor);
}

void TitleLabel::setTextStart(int textStart) {
    m_textStart = textStart;
    keepTextClear();
}

void TitleLabel::setTitle(const QString& title) {
    setText(title);
    keepTextClear();
}

void TitleLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        keepTextClear();
}

void TitleLabel::keepTextClear() {
    const QString title = text();
    qsizetype blanks = 0;
    while (blanks < title.size() && title.at(blanks) == QLatin1Char(' '))
        ++blanks;
    const int blankWidth = fontMetrics().horizontalAdvance(title.left(blanks));
    setIndent(qMax(0, m_textStart - blankWidth));
}

void TitleLabel::mousePressEvent(QMouseEvent* event) {
    m_dragAnchor = event->position().toPoint();
    // Started at the press, the system's move keeps the pointer where it caught the title.
    m_movedBySystem = event->buttons() == Qt::LeftButton && m_systemMove(window()->windowHandle());
    event->accept();
}

void TitleLabel::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved();
    // The label travels with the window, so the offset from the anchor is how
    // far the pointer has got ahead of the window since the last move.
    if (event->buttons() == Qt::LeftButton && !m_movedBySystem)
        window()->move(window()->pos() + event->position().toPoint() - m_dragAnchor);
    event->accept();
}

} // namespace velmorandi
