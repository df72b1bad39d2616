#pragma once

#include <QCursor>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <initializer_list>
#include <optional>

class QMouseEvent;
class QWidget;

namespace velmorandi {

// Resizing a window that has no frame of its own, from its edges and corners:
// within a few pixels of an edge the pointer takes the resize shape, and a
// left-button drag there resizes the window, never below its minimum size. The
// window system takes the drag where it can (the only way under Wayland, and
// with the window manager's snapping on X11); elsewhere the window is resized
// here. Watches the window and the controls that reach its edges.
class WindowEdges : public QObject {
    Q_OBJECT
  public:
    WindowEdges(QWidget* window, std::initializer_list<QWidget*> reachingEdges);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Qt::Edges edgesAt(const QWidget* control, QPointF at) const;
    void showShape(QWidget* control, Qt::Edges edges);
    bool press(QWidget* control, const QMouseEvent& event);
    void drag(QPoint pointer);

    QWidget* m_window;
    Qt::Edges m_dragged; // while the window is resized here
    QRect m_startGeometry;
    QPoint m_startPointer;
    QPointer<QWidget> m_shaped; // the control that shows a resize shape
    std::optional<QCursor> m_shapedBefore;
};

} // namespace velmorandi
