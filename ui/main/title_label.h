#pragma once

#include <QLabel>
#include <QPoint>

namespace velmorandi {

// The main window's title: moves the window while dragged with the left button alone.
class TitleLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TitleLabel(QWidget* parent = nullptr);

  signals:
    // Every pointer move over the title, before any drag.
    void pointerMoved();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    QPoint m_dragAnchor; // where the last press caught the label, any button
};

} // namespace velmorandi
