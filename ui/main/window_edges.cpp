#include "main/window_edges.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace velmorandi {

namespace {

// How near an edge the pointer catches it, and how far along an edge from a
// corner it still catches the corner: a corner a few pixels square is hard to hit.
constexpr int kEdgeBand = 5;
constexpr int kCornerReach = 16;

Qt::CursorShape shapeFor(Qt::Edges edges) {
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
        return Qt::SizeFDiagCursor;
    if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
        return Qt::SizeBDiagCursor;
    if (edges == Qt::LeftEdge || edges == Qt::RightEdge)
        return Qt::SizeHorCursor;
    return Qt::SizeVerCursor;
}

} // namespace

WindowEdges::WindowEdges(QWidget* window, std::initializer_list<QWidget*> reachingEdges)
    : QObject(window), m_window(window) {
    window->setMouseTracking(true);
    window->installEventFilter(this);
    for (QWidget* control : reachingEdges) {
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
}

Qt::Edges WindowEdges::edgesAt(const QWidget* control, QPointF at) const {
    // A maximised or full-screen window has no edges to drag.
    if (m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return {};
    const QPoint point = control->mapTo(m_window, at.toPoint());
    const auto within = [](int from, int reach) { return from >= 0 && from < reach; };
    const int fromRight = m_window->width() - 1 - point.x();
    const int fromBottom = m_window->height() - 1 - point.y();
    Qt::Edges edges;
    if (within(point.x(), kEdgeBand))
        edges |= Qt::LeftEdge;
    if (within(fromRight, kEdgeBand))
        edges |= Qt::RightEdge;
    if (within(point.y(), kEdgeBand))
        edges |= Qt::TopEdge;
    if (within(fromBottom, kEdgeBand))
        edges |= Qt::BottomEdge;
    if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
        if (within(point.y(), kCornerReach))
            edges |= Qt::TopEdge;
        if (within(fromBottom, kCornerReach))
            edges |= Qt::BottomEdge;
    }
    if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
        if (within(point.x(), kCornerReach))
            edges |= Qt::LeftEdge;
        if (within(fromRight, kCornerReach))
            edges |= Qt::RightEdge;
    }
    return edges;
}

// The control's own shape comes back once the pointer leaves the edge.
void WindowEdges::showShape(QWidget* control, Qt::Edges edges) {
    if (m_shaped != nullptr && (m_shaped != control || !edges)) {
        if (m_shapedBefore)
            m_shaped->setCursor(*m_shapedBefore);
        else
            m_shaped->unsetCursor();
        m_shaped = nullptr;
    }
    if (!edges)
        return;
    if (m_shaped == nullptr) {
        m_shaped = control;
        m_shapedBefore = control->testAttribute(Qt::WA_SetCursor)
                             ? std::optional<QCursor>(control->cursor())
                             : std::nullopt;
    }
    control->setCursor(shapeFor(edges));
}

bool WindowEdges::press(QWidget* control, const QMouseEvent& event) {
    const Qt::Edges edges = edgesAt(control, event.position());
    if (!edges || event.button() != Qt::LeftButton || event.buttons() != Qt::LeftButton)
        return false;
    QWindow* handle = m_window->windowHandle();
    if (handle != nullptr && handle->startSystemResize(edges))
        return true;
    m_dragged = edges;
    m_startGeometry = m_window->geometry();
    m_startPointer = event.globalPosition().toPoint();
    return true;
}

void WindowEdges::drag(QPoint pointer) {
    const QPoint by = pointer - m_startPointer;
    const QSize least = m_window->minimumSize();
    QRect place = m_startGeometry;
    if (m_dragged & Qt::LeftEdge)
        place.setLeft(std::min(place.left() + by.x(), place.right() + 1 - least.width()));
    if (m_dragged & Qt::RightEdge)
        place.setRight(std::max(place.right() + by.x(), place.left() + least.width() - 1));
    if (m_dragged & Qt::TopEdge)
        place.setTop(std::min(place.top() + by.y(), place.bottom() + 1 - least.height()));
    if (m_dragged & Qt::BottomEdge)
        place.setBottom(std::max(place.bottom() + by.y(), place.top() + least.height() - 1));
    m_window->setGeometry(place);
}

bool WindowEdges::eventFilter(QObject* watched, QEvent* event) {
    auto* control = qobject_cast<QWidget*>(watched);
    if (control == nullptr)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (m_dragged) {
            drag(move->globalPosition().toPoint());
            return true;
        }
        if (move->buttons() == Qt::NoButton)
            showShape(control, edgesAt(control, move->position()));
        return false;
    }
    case QEvent::MouseButtonPress:
        return press(control, *static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        if (!m_dragged)
            return false;
        if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton)
            m_dragged = {};
        return true;
    case QEvent::MouseButtonDblClick:
        // Not the title's double-click, which maximises the window.
        return bool(edgesAt(control, static_cast<QMouseEvent*>(event)->position()));
    case QEvent::Leave:
        if (control == m_shaped)
            showShape(control, {});
        return false;
    default:
        return false;
    }
}

} // namespace velmorandi
