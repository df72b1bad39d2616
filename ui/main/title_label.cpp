#include "main/title_label.h"

#include <QMouseEvent>
#include <QWindow>

#include <utility>

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
    // Asked at the first move, not at the press: a window system that takes a
    // press would keep the second click of a double-click from the label.
    m_systemAsked = false;
    m_movedBySystem = false;
    event->accept();
}

void TitleLabel::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved();
    if (event->buttons() != Qt::LeftButton) {
        event->accept();
        return;
    }
    if (!std::exchange(m_systemAsked, true))
        m_movedBySystem = m_systemMove(window()->windowHandle());
    // The label travels with the window, so the offset from the anchor is how
    // far the pointer has got ahead of the window since the last move. A
    // maximised window stays where it is.
    if (!m_movedBySystem && !window()->isMaximized())
        window()->move(window()->pos() + event->position().toPoint() - m_dragAnchor);
    event->accept();
}

void TitleLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of the two, for a drag that follows it.
    mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    QWidget* whole = window();
    if (whole->isMaximized())
        whole->showNormal();
    else
        whole->showMaximized();
    event->accept();
}

} // namespace velmorandi
