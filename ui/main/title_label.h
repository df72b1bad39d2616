#pragma once

#include <QLabel>
#include <QPoint>

#include <functional>

class QWindow;

namespace velmorandi {

// The main window's title: moves the window while dragged with the left button
// alone. The window system moves it where it can (the only way under Wayland,
// and with the window manager's snapping on X11); elsewhere the label does.
class TitleLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TitleLabel(QWidget* parent = nullptr);

    // Hands a drag that starts now to the window system; false where it cannot take it.
    using SystemMove = std::function<bool(QWindow*)>;
    void setSystemMove(SystemMove systemMove) { m_systemMove = std::move(systemMove); }

  signals:
    // Every pointer move over the title, before any drag.
    void pointerMoved();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    QPoint m_dragAnchor; // where the last press caught the label, any button
    bool m_movedBySystem = false;
    SystemMove m_systemMove;
};

} // namespace velmorandi
