#pragma once

#include "shell/overlay_box.h"

#include <QString>

class QLabel;
class QLineEdit;

namespace velmorandi {

class PictureButton;

// The About window: borderless, the main window's size, loaded afresh for every showing
// and placed exactly over the main window.
class frmHelpAbout : public OverlayBox {
    Q_OBJECT
  public:
    static const QString webAddress;

    frmHelpAbout(QWidget* mainWindow, const QString& mainTitle);

  protected:
    QWidget* focusTarget() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void createControls();
    void Form_Load(const QString& mainTitle);
    void Form_KeyPress(const QKeyEvent& event);
    void ImgXbut_Click();
    void txtUrl_Change();
    void ResetImageButtons();

    QLabel* m_lblProductName = nullptr;
    QLabel* m_lblAbout = nullptr;
    QLabel* m_lblAuthor = nullptr;
    QLabel* m_lblDesc = nullptr;
    QLineEdit* m_txtUrl = nullptr;
    PictureButton* m_imgXbut = nullptr;
    bool m_restoringUrl = false;
};

// Shows the About window modally, exactly over mainWindow. mainTitle is the
// main window's title text, from which the product name line is taken.
void ShowAbout(QWidget* mainWindow, const QString& mainTitle);

} // namespace velmorandi
