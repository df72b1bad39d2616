#pragma once

#include "shell/overlay_box.h"

#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velmorandi {

// A small borderless window over the main window, in the message window's
// style, that follows a long piece of work: a text, a bar and Cancel. Escape
// cancels too. It is not modal: the main window keeps its close button and
// its title drag while the work goes on.
class frmProgress : public OverlayBox {
    Q_OBJECT
  public:
    explicit frmProgress(QWidget* mainWindow);

    // count of total; a total of 0 shows a busy bar without a count.
    void showProgress(const QString& text, qsizetype count, qsizetype total);
    // How long the work still takes; empty where that is not worth saying.
    void showTimeLeft(const QString& text);
    // Without a way to stop, the work runs to its end.
    void setCancellable(bool cancellable);
    // The work is being stopped, by Cancel or otherwise: Cancel greys out and
    // the time left goes; the text still follows the work.
    void setCancelling();

  signals:
    void cancelRequested();

  protected:
    // Cancel, when the work can be stopped; else the focus stays where it was.
    QWidget* focusTarget() override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void requestCancel();

    QLabel* m_text;
    QLabel* m_timeLeft;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
};

} // namespace velmorandi
