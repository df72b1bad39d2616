#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velmorandi {

// A small borderless window over the main window, in the message window's
// style, that follows a long piece of work: a text, a bar and Cancel. Escape
// cancels too. It is not modal: the main window keeps its close button and
// its title drag while the work goes on.
class frmProgress : public QDialog {
    Q_OBJECT
  public:
    explicit frmProgress(QWidget* mainWindow);

    // count of total; a total of 0 shows a busy bar without a count.
    void showProgress(const QString& text, qsizetype count, qsizetype total);
    // Without a way to stop, the work runs to its end.
    void setCancellable(bool cancellable);
    // Centred on the main window, wherever it has been dragged.
    void placeOverMainWindow();

  signals:
    void cancelRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void reject() override;

  private:
    void requestCancel();

    QWidget* m_mainWindow;
    QLabel* m_text;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
};

} // namespace velmorandi
