#pragma once

#include <QLineEdit>

namespace velmorandi {

// A name typed by hand: the part before the extension is selected, as a file
// manager does, so that typing keeps the extension. The view selects the
// whole text once the editor is set up, and may pass it the key that opened
// it at once: the selection is made before that key, or else once the view is
// done. A selection the user makes is theirs.
class NameEditor : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;

    void selectBase(int length);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void applyBase();

    int m_base = -1;
};

} // namespace velmorandi
