#pragma once

#include "main/background_run.h"

#include "edit_history.h"
#include "rename_list.h"
#include "run/journal_store.h"
#include "run/run.h"
#include "run/run_testing.h"
#include "transforms/operations.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimer;

namespace velmorandi {

class DriveFolders;
class DriveList;
class FolderList;
class InputHold;
class PictureButton;
class RenameGridModel;
class TitleLabel;

// The program's working window: folder chooser, rename grid, command buttons
// and the five operation frames.
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

    // A folder handed over by a second start: opened at once and the window
    // brought to the front. False, and nothing done, while a run works or a
    // message waits for the user.
    bool openHandedOver(const std::string& folder, const std::string& file);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
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

    // Start and navigation (main_window.cpp)
    void Form_Load();
    void RecoverInterruptedRuns();
    void openFirstFolder();
    void SelectDefaultDrive();
    bool openStartFolder();
    bool openWithItsDrive(const std::string& folder);
    void makeCurrent(const std::string& file);
    bool waitsForUser() const;
    void Drive1_Change();
    bool Dir1_Change(const std::string& root, const std::string& folder);
    bool moveToFolder(const std::string& root, const std::string& folder);
    void Dir1_OpenRequested(const std::string& folder);

    // Commands
    void ImgApply_Click(int index);
    OperationInputs frameInputs() const;
    void CmdRename_Click();
    void UndoLastRename();
    void RedoLastUndo();
    // Runs disk work off the window's thread, with the window's input held back.
    template <class Work>
    auto inBackground(BackgroundRun::Kind kind, Work&& work, std::size_t files = 0);
    void finishRun(RunResult result, const std::string& currentFile = {});
    void markRefusedRows(RunOutcome outcome, const std::vector<std::size_t>& rows);
    void followFile(const std::string& name);
    void CmdBlank_Click();
    void CmdReset_Click();
    void ImgAbut_Click();
    void ImgQbut_Click();
    void ImgXbut_Click();
    void ResetImageButtons();
    void showMessage(const std::string& text);

    // Read from the environment once; every run, undo and recovery keeps its records there.
    JournalStore m_records = JournalStore::ofUser();
    // Edit history (main_window_history.cpp)
    // Runs change over the edited names; a change of a name becomes a step of the history.
    void edit(const char* what, const std::function<bool()>& change);
    // What Ctrl+Z and Ctrl+Y would do now: the menu's text, and nothing to
    // run when there is nothing to do.
    struct HistoryStep {
        QString text;
        std::function<void()> run;
    };
    HistoryStep undoStep();
    HistoryStep redoStep();
    void Undo_Shortcut();
    void Redo_Shortcut();
    void MSFlexGrid1_ContextMenu(const QPoint& position);

    RenameList m_list;
    EditHistory m_history;
    std::unique_ptr<DriveFolders> m_driveFolders;
    std::string m_loadedFolder;
    std::string m_startFolder;
    std::string m_startFile;
    int m_userWaits = 0; // messages and About windows open
    QTimer* m_drivesChanged = nullptr;
    int m_driveRecoveryDepth = 0;
    BackgroundRun* m_run = nullptr;
    InputHold* m_inputHold = nullptr;
    bool m_quitAfterRun = false;

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
