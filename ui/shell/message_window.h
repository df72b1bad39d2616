#pragma once

#include "shell/overlay_box.h"

#include <QString>

class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

namespace velmorandi {

class PictureButton;

// Shows the text in the modal message window centred on mainWindow; returns
// when the user has closed it.
void ShowMessage(QWidget* mainWindow, const QString& text);

// The same with a question's two answers as buttons under the text; returns
// whether the user chose `yes`. Escape, Enter on no button and the close
// button answer `no`, which holds the focus when the box opens.
bool AskMessage(QWidget* mainWindow, const QString& text, const QString& yes, const QString& no);

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
    // Before Form_Load: two answers under the text, "CmdYes" and "CmdNo".
    void setChoice(const QString& yes, const QString& no);
    bool chosenYes() const { return m_chosenYes; }

  protected:
    QWidget* focusTarget() override;
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
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
    bool m_chosenYes = false;
};

} // namespace velmorandi
