#pragma once

#include <QLabel>
#include <QPoint>

#include <functional>

class QWindow;

namespace velmorandi {

// The main window's title: moves the window while dragged with the left button
// alone. The window system moves it where it can (the only way under Wayland,
// and with the window manager's snapping on X11); elsewhere the label does. A
// double-click maximises the window, or gives it back its size.
class TitleLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TitleLabel(QWidget* parent = nullptr);

    // The title's text starts at textStart pixels or further right whatever the
    // face: its leading blanks take it there where they are wide enough, an
    // indent does where they are not (a narrower face than the layout's).
    void setTextStart(int textStart);
    void setTitle(const QString& title);

    // Hands a drag that starts now to the window system; false where it cannot take it.
    using SystemMove = std::function<bool(QWindow*)>;
    void setSystemMove(SystemMove systemMove) { m_systemMove = std::move(systemMove); }

  signals:
    // Every pointer move over the title, before any drag.
    void pointerMoved();

  protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void keepTextClear();

    int m_textStart = 0;
    QPoint m_dragAnchor;        // where the last press caught the label, any button
    bool m_systemAsked = false; // for the drag since the last press
    bool m_movedBySystem = false;
    SystemMove m_systemMove;
};

} // namespace velmorandi
