#pragma once

#include <QAccessible>
#include <QPointer>
#include <QWidget>

class QEventLoop;

namespace velmorandi {

// A box that shows inside the main window, over its controls, instead of as a
// window of its own. Window systems place top-level windows as they please
// (under Wayland a program cannot place one at all); a box inside the main
// window sits exactly where it is put and moves with it, and stays in its
// middle when it is resized. It keeps its own look and takes its own keys: the
// focus stays inside it while it is open.
class OverlayBox : public QWidget {
    Q_OBJECT
  public:
    // role: what a screen reader announces the box as.
    OverlayBox(QWidget* mainWindow, QSize size, QAccessible::Role role);
    ~OverlayBox() override;

    QAccessible::Role accessibleRole() const { return m_role; }

    // Centred on the main window; a box of the main window's size covers it exactly.
    void placeOverMainWindow();
    // Shows the box on top of the main window's controls and gives it the focus.
    void open();
    // Opens the box, lets no input reach the rest of the main window, and
    // returns once the box has been closed.
    void runModal();
    // Hides the box, gives the focus back and ends runModal().
    void closeBox();

    // The box that the innermost runModal() waits for; null when none does.
    static OverlayBox* waiting();

  protected:
    // Where the focus goes when the box opens: the box itself unless overridden;
    // null leaves it where it is.
    virtual QWidget* focusTarget() { return this; }

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    QWidget* m_mainWindow;
    QAccessible::Role m_role;
    QPointer<QWidget> m_focusBefore;
    QPointer<QWidget> m_shield;
    QEventLoop* m_loop = nullptr;
};

// True for a box and for every control inside one: the main window's own key
// handling and its hold on input during a run leave these alone.
bool isInOverlayBox(const QWidget* widget);

} // namespace velmorandi
