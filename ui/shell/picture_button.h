#pragma once

#include "shell/button_pictures.h"

#include <QWidget>

namespace velmorandi {

// A 19 x 19 round picture button drawn by the program: black when normal,
// red under the pointer, blue while pressed. Clicks on press and release over it.
// Screen readers see a button, named by its accessible name, that they can press.
// Given a focus policy, it shows a dotted frame while it has the focus, and
// Space and Enter click it.
class PictureButton : public QWidget {
    Q_OBJECT
  public:
    using Glyph = ButtonGlyph;
    enum class State { Normal, Hover, Pressed };

    // A button without states (the warning button) always shows its normal picture.
    explicit PictureButton(Glyph glyph, QWidget* parent = nullptr, bool hasStates = true);

    Glyph glyph() const { return m_glyph; }
    State state() const { return m_state; }
    void setState(State state);
    // What a left press and release over the button do, for assistive technology.
    void click();

    QSize sizeHint() const override { return {19, 19}; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    Glyph m_glyph;
    bool m_hasStates;
    State m_state = State::Normal;
    bool m_leftPressed = false;
};

} // namespace velmorandi
