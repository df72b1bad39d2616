#pragma once

#include "shell/overlay_box.h"

#include <QString>

class QLabel;
class QScrollArea;
class QWidget;

namespace velmorandi {

class PictureButton;

// Shows the text in the modal message window centred on mainWindow; returns
// when the user has closed it.
void ShowMessage(QWidget* mainWindow, const QString& text);

// The borderless message box: a title, the text and a close button. Escape and
// Enter close it; a text longer than the box scrolls within it, by the arrows,
// Page Up and Down, Home and End; Ctrl+C copies the whole text; every other key
// is swallowed. Screen readers hear it as an alert with its whole text when it
// opens; behind another window, it asks for attention.
class frmMessageBox : public OverlayBox {
    Q_OBJECT
  public:
    explicit frmMessageBox(QWidget* mainWindow);

    // Read when the window loads; CR LF shows as a line break.
    QString vMessage;

    // Places the window over the main window and fills in the text, before it is shown.
    void Form_Load();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void ImgXbut_Click();
    void ResetImageButtons();
    void scrollByKey(const QKeyEvent& event);

    QScrollArea* m_scroll;
    QLabel* m_message;
    PictureButton* m_closeButton;
};

} // namespace velmorandi
