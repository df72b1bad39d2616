#pragma once

#include "main/edge_anchors.h"
#include "run/journal_store.h"
#include "run/run.h"
#include "run/run_testing.h"
#include "session/folder_session.h"

#include <QWidget>

#include <array>
#include <optional>
#include <string>
#include <utility>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace velmorandi {

class DriveList;
class FolderList;
class FolderNavigation;
class GridSession;
class PictureButton;
class RenameGridModel;
class TitleLabel;

// The program's working window: folder chooser, rename grid, command buttons
// and the five operation frames, wired to one folder's session.
class frmMainWindow : public QWidget {
    Q_OBJECT
  public:
    // Opens at startFolder when it is given and can be read, else as without it;
    // startFile, a file of that folder, is then the current row.
    // recoverFirst: roll back runs a crash left unfinished before the first
    // folder loads (only the instance that holds the single-instance lock may).
    explicit frmMainWindow(QWidget* parent = nullptr, std::string startFolder = {},
                           bool recoverFirst = false, std::string startFile = {});
    ~frmMainWindow() override;

    // Tests slow down or fail the disk calls of every run through this.
    void setRunTesting(RunTesting testing);

    // A folder handed over by a second start opens at once, the window
    // brought to the front; while a run works or a message waits, as soon as
    // that is over (the last one handed over). Refused once the window closes.
    enum class HandOver { Opening, WhenFree, Refused };
    HandOver openHandedOver(const std::string& folder, const std::string& file);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Layout (main_window_layout.cpp)
    void buildTitleBand();
    void buildBody();
    void buildFrames();
    QGroupBox* buildFrame(int index, const QString& caption, int left, int width);
    QRadioButton* buildOption(QGroupBox* frame, QButtonGroup* group, const char* name,
                              const QString& caption, const QRect& place);
    QLineEdit* buildTextBox(QGroupBox* frame, const char* name, const QRect& place);
    QPushButton* buildCommandButton(int pictureIndex, const char* name, const QString& caption,
                                    int left);
    void buildGrid();
    void setTabOrder();
    void anchorControls();
    // The window opens at this size and grows from it, never smaller.
    static QSize laidOutSize();
    QSize grown() const { return size() - laidOutSize(); }

    // Start, folders and commands (main_window.cpp)
    void wireControls();
    void startUp(bool recoverFirst);
    void Form_Load();
    void openFirstFolder();
    void openFolder(const std::string& folder, const std::string& file);
    bool busy() const;
    void whenFree();
    bool Dir1_Change(const std::string& root, const std::string& folder);
    void ImgApply_Click(int index);
    OperationInputs frameInputs() const;
    void ImgAbut_Click();
    void ImgQbut_Click();
    void ImgXbut_Click();
    void ResetImageButtons();
    void showMessage(const QString& text);
    void reportRecovery(RecoveryReport report);

    // Read from the environment once; every run, undo and recovery keeps its records there.
    JournalStore m_records = JournalStore::ofUser();
    FolderSession m_session;
    GridSession* m_gridSession = nullptr;
    FolderNavigation* m_navigation = nullptr;
    std::string m_startFolder;
    std::string m_startFile;
    std::optional<std::pair<std::string, std::string>> m_handedOver; // folder and file
    int m_userWaits = 0; // messages and About windows open
    EdgeAnchors m_anchors;

    TitleLabel* m_lblTitle = nullptr;
    PictureButton* m_ImgAbut = nullptr;
    PictureButton* m_ImgQbut = nullptr;
    PictureButton* m_ImgXbut = nullptr;
    FolderList* m_Dir1 = nullptr;
    DriveList* m_Drive1 = nullptr;
    QTableView* m_MSFlexGrid1 = nullptr;
    RenameGridModel* m_gridModel = nullptr;
    QPushButton* m_CmdBlank = nullptr;
    QPushButton* m_CmdReset = nullptr;
    QPushButton* m_CmdRename = nullptr;
    std::array<QGroupBox*, 5> m_Frame1{};
    std::array<PictureButton*, 5> m_ImgApply{};
    QLineEdit* m_tFind = nullptr;
    QLineEdit* m_tReplace = nullptr;
    QLineEdit* m_tText = nullptr;
    QRadioButton* m_oUpper = nullptr;
    QRadioButton* m_oLower = nullptr;
    QRadioButton* m_oTitle = nullptr;
    QRadioButton* m_oSentence = nullptr;
    QRadioButton* m_oLeftText = nullptr;
    QRadioButton* m_oRightText = nullptr;
    QRadioButton* m_oLeftSerialize = nullptr;
    QRadioButton* m_oRightSerialize = nullptr;
    QRadioButton* m_oLeftTrim = nullptr;
    QRadioButton* m_oRightTrim = nullptr;
};

} // namespace velmorandi
