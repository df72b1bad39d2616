#include "main/main_window.h"

#include "main/background_run.h"
#include "main/default_drive.h"
#include "main/drive_folders.h"
#include "main/drive_list.h"
#include "main/folder_list.h"
#include "main/grid_place.h"
#include "main/input_hold.h"
#include "main/keyboard_filter.h"
#include "main/mount_watch.h"
#include "main/rename_grid_model.h"
#include "main/title_label.h"
#include "main/twips.h"
#include "shell/about_window.h"
#include "shell/app_icon.h"
#include "shell/message_window.h"
#include "shell/picture_button.h"
#include "shell/window_look.h"

#include "folder_loader.h"
#include "paths.h"
#include "protected_files.h"
#include "run/run_messages.h"
#include "version.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>

#include <variant>

namespace velmorandi {

namespace {

const char* const kDriveNotReady =
    "Selected drive is not found ready for IO operations. Resetting the drive default to first "
    "accessible drive found.\r\n\r\nAlso check floppy, CD or DVD drive contains disk in it and "
    "is closed properly.";

const char* const kFolderNotOpened = "Selected folder could not be opened.\r\n\r\nCheck that the "
                                     "folder still exists and that you may read it.";

// A folder named on the command line or by a second start.
std::string folderNotOpened(const std::string& folder) {
    return "The folder " + folder +
           " could not be opened.\r\n\r\nCheck that the folder still exists and that you may "
           "read it.";
}

// What each Apply button does, as the history names it: its frame's caption.
const std::array<const char*, 5> kOperationNames = {"Find & Replace", "Change Case", "Add String",
                                                    "Serial", "Trim"};

// Drives come and go in bursts of mounts: read them once the burst is over.
constexpr int kDriveSettleMs = 250;

std::optional<Side> chosenSide(const QRadioButton* left, const QRadioButton* right) {
    if (left->isChecked())
        return Side::Left;
    if (right->isChecked())
        return Side::Right;
    return std::nullopt;
}

} // namespace

template <class Work>
auto frmMainWindow::inBackground(BackgroundRun::Kind kind, Work&& work, std::size_t files) {
    m_inputHold->setActive(true);
    auto result = m_run->run(kind, std::forward<Work>(work), files);
    m_inputHold->setActive(false);
    // Closed while a folder was read: nothing was changed, so nothing holds the user.
    if (m_quitAfterRun && kind == BackgroundRun::Kind::Reading)
        QCoreApplication::quit();
    return result;
}

frmMainWindow::frmMainWindow(QWidget* parent, std::string startFolder, bool recoverFirst,
                             std::string startFile)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_driveFolders(std::make_unique<DriveFolders>(currentFolder())),
      m_startFolder(std::move(startFolder)), m_startFile(std::move(startFile)) {
    setObjectName(QStringLiteral("frmMainWindow"));
    setWindowTitle(QStringLiteral("Velmorandi"));
    setWindowIcon(applicationIcon());
    setFixedSize(px(10335), px(6375));
    setMouseTracking(true);
    useWindowLook(*this);

    buildTitleBand();
    buildBody();
    buildGrid();
    buildFrames();
    setTabOrder();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    qApp->installEventFilter(new KeyboardFilter(
        this, [this] { ImgQbut_Click(); }, this));
    m_run = new BackgroundRun(this, m_records);
    m_inputHold = new InputHold(
        this, {m_lblTitle, m_ImgXbut}, [this] { m_run->cancel(); }, this);
    qApp->installEventFilter(m_inputHold);
    m_Drive1->setDrives(mountedDrives());
    m_Drive1->setDriveSource(mountedDrives);
    m_drivesChanged = new QTimer(this);
    m_drivesChanged->setSingleShot(true);
    m_drivesChanged->setInterval(kDriveSettleMs);
    connect(m_drivesChanged, &QTimer::timeout, m_Drive1, &DriveList::refresh);
    connect(new MountWatch(this), &MountWatch::changed, m_drivesChanged,
            qOverload<>(&QTimer::start));

    connect(m_lblTitle, &TitleLabel::pointerMoved, this, &frmMainWindow::ResetImageButtons);
    connect(m_ImgAbut, &PictureButton::clicked, this, &frmMainWindow::ImgAbut_Click);
    connect(m_ImgQbut, &PictureButton::clicked, this, &frmMainWindow::ImgQbut_Click);
    connect(m_ImgXbut, &PictureButton::clicked, this, &frmMainWindow::ImgXbut_Click);
    for (int i = 0; i < static_cast<int>(m_ImgApply.size()); ++i)
        connect(m_ImgApply[i], &PictureButton::clicked, this, [this, i] { ImgApply_Click(i); });
    connect(m_CmdRename, &QPushButton::clicked, this, &frmMainWindow::CmdRename_Click);
    connect(m_CmdReset, &QPushButton::clicked, this, &frmMainWindow::CmdReset_Click);
    connect(m_CmdBlank, &QPushButton::clicked, this, &frmMainWindow::CmdBlank_Click);
    connect(m_Drive1, &QComboBox::currentIndexChanged, this, &frmMainWindow::Drive1_Change);
    connect(m_Dir1, &FolderList::openRequested, this, &frmMainWindow::Dir1_OpenRequested);
    connect(m_tFind, &QLineEdit::returnPressed, this, [this] { ImgApply_Click(0); });
    connect(m_tReplace, &QLineEdit::returnPressed, this, [this] { ImgApply_Click(0); });
    connect(m_tText, &QLineEdit::returnPressed, this, [this] { ImgApply_Click(2); });
    // A text box keeps Ctrl+Z for its own text: it takes the shortcut first.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            &frmMainWindow::Undo_Shortcut);
    for (const QKeySequence& redo :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        connect(new QShortcut(redo, this), &QShortcut::activated, this,
                &frmMainWindow::Redo_Shortcut);
    m_MSFlexGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_MSFlexGrid1, &QWidget::customContextMenuRequested, this,
            &frmMainWindow::MSFlexGrid1_ContextMenu);

    m_Dir1->setFocus();
    Form_Load();
    if (recoverFirst) {
        // Once the window shows, so the progress and the report have it to sit on.
        QTimer::singleShot(0, this, [this] {
            RecoverInterruptedRuns();
            if (m_quitAfterRun)
                QCoreApplication::quit();
            else
                openFirstFolder();
        });
    } else {
        openFirstFolder();
    }
}

void frmMainWindow::setRunTesting(RunTesting testing) {
    m_run->setTesting(std::move(testing));
}

frmMainWindow::~frmMainWindow() = default;

void frmMainWindow::Form_Load() {
    m_lblTitle->setTitle(QStringLiteral("          Velmorandi ") +
                         QString::fromStdString(GetVersion()));
    QHeaderView* header = m_MSFlexGrid1->horizontalHeader();
    QFont headerFont = header->font();
    headerFont.setBold(true);
    header->setFont(headerFont);
}

void frmMainWindow::openFirstFolder() {
    if (!openStartFolder())
        SelectDefaultDrive();
}

// The folder the program was asked to open.
bool frmMainWindow::openStartFolder() {
    if (m_startFolder.empty())
        return false;
    if (openWithItsDrive(m_startFolder)) {
        makeCurrent(m_startFile);
        return true;
    }
    showMessage(folderNotOpened(m_startFolder));
    return false;
}

// The folder with its own drive selected; on failure the drive list's
// selection is as before (at start nothing, so that selecting the default
// drive loads it).
bool frmMainWindow::openWithItsDrive(const std::string& folder) {
    std::optional<int> drive = m_Drive1->indexHolding(folder);
    if (!drive)
        drive = m_Drive1->addShareHolding(folder);
    if (!drive)
        return false;
    const QSignalBlocker quiet(m_Drive1);
    const int before = m_Drive1->currentIndex();
    m_Drive1->setCurrentIndex(*drive);
    if (moveToFolder(m_Drive1->drive(), folder))
        return true;
    m_Drive1->setCurrentIndex(before);
    return false;
}

// The row of that file becomes the current one, in the middle of the grid.
void frmMainWindow::makeCurrent(const std::string& file) {
    if (file.empty())
        return;
    const std::optional<int> row = m_gridModel->rowListedAs(file);
    if (!row)
        return;
    const QModelIndex cell = m_gridModel->index(*row, RenameGridModel::Original);
    m_MSFlexGrid1->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    // Once the grid is laid out at its size, so the row lands in the middle.
    QTimer::singleShot(0, m_MSFlexGrid1, [grid = m_MSFlexGrid1, cell] {
        grid->scrollTo(cell, QAbstractItemView::PositionAtCenter);
    });
}

bool frmMainWindow::openHandedOver(const std::string& folder, const std::string& file) {
    if (m_run->isRunning() || waitsForUser())
        return false;
    // Not inside the caller's own handling: a load runs an event loop of its own.
    QTimer::singleShot(0, this, [this, folder, file] {
        if (m_run->isRunning() || waitsForUser())
            return;
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
        // It may lie on a drive plugged in since the list was last read.
        m_Drive1->refresh();
        if (openWithItsDrive(folder))
            makeCurrent(file);
        else
            showMessage(folderNotOpened(folder));
    });
    return true;
}

bool frmMainWindow::waitsForUser() const {
    return m_userWaits > 0 || QApplication::activeModalWidget() != nullptr;
}

void frmMainWindow::RecoverInterruptedRuns() {
    const RecoveryReport report =
        inBackground(BackgroundRun::Kind::Restoring, [](const RunControl& control) {
            return velmorandi::RecoverInterruptedRuns(control);
        });
    if (!report.message.empty())
        showMessage(report.message);
}

void frmMainWindow::SelectDefaultDrive() {
    if (const std::optional<int> index = defaultDriveIndex(m_Drive1->entryTexts()))
        m_Drive1->setCurrentIndex(*index);
}

void frmMainWindow::Drive1_Change() {
    const std::string drive = m_Drive1->drive();
    if (drive.empty())
        return;
    const std::string folder = m_driveFolders->currentFolder(drive);
    if (moveToFolder(drive, folder))
        return;
    // The next try on this drive starts further up, at the latest at its root.
    m_driveFolders->forget(folder);
    showMessage(kDriveNotReady);
    // The default drive failed as well: the message has been shown again, stop here.
    if (m_driveRecoveryDepth > 0)
        return;
    ++m_driveRecoveryDepth;
    const int failedIndex = m_Drive1->currentIndex();
    SelectDefaultDrive();
    // Already on the default drive, so selecting it raised no change: retry it once.
    if (m_Drive1->currentIndex() == failedIndex)
        Drive1_Change();
    --m_driveRecoveryDepth;
}

bool frmMainWindow::moveToFolder(const std::string& root, const std::string& folder) {
    if (Dir1_Change(root, folder)) {
        m_driveFolders->opened(folder);
        return true;
    }
    // The folder list still shows the folder loaded last, as the grid does; its
    // sub-folders are read again: the one that failed may have gone.
    if (!m_Dir1->path().empty())
        m_Dir1->setPath(m_Dir1->root(), m_Dir1->path());
    return false;
}

bool frmMainWindow::Dir1_Change(const std::string& root, const std::string& folder) {
    const bool wasWarning = !m_ImgAbut->isHidden();
    m_ImgAbut->hide();
    // A folder of a million files takes seconds to read and sort: the rows are
    // built off the window's thread and take the list's place in one swap. The
    // same read gives the folder list its sub-folders.
    struct LoadedFolder {
        RenameList list;
        LoadOutcome outcome;
        RecoveryReport recovery;
    };
    // A run that a crash left unfinished in this folder, perhaps before it
    // was moved here, is rolled back before the folder is listed.
    LoadedFolder loaded =
        inBackground(BackgroundRun::Kind::Reading, [&folder](const RunControl& control) {
            LoadedFolder result;
            result.recovery = RecoverMovedRun(folder, control);
            result.outcome = LoadFolder(result.list, folder);
            return result;
        });
    if (!loaded.recovery.message.empty())
        showMessage(loaded.recovery.message);
    if (loaded.outcome.error) {
        m_ImgAbut->setVisible(wasWarning);
        return false;
    }
    m_Dir1->setPath(root, folder, std::move(loaded.outcome.subfolders));
    m_gridModel->reload([&] { std::swap(m_list, loaded.list); });
    m_history.clear();
    m_loadedFolder = folder;
    m_ImgAbut->setVisible(loaded.outcome.protectedFileListed);
    return true;
}

void frmMainWindow::Dir1_OpenRequested(const std::string& folder) {
    if (folder == m_Dir1->path())
        return;
    if (!moveToFolder(m_Dir1->root(), folder))
        showMessage(kFolderNotOpened);
}

void frmMainWindow::ImgApply_Click(int index) {
    if (index < 0 || index >= static_cast<int>(kOperationNames.size()))
        return;
    const OperationInputs inputs = frameInputs();
    edit(kOperationNames[index], [&] { return ApplyOperation(m_list, index, inputs); });
}

OperationInputs frmMainWindow::frameInputs() const {
    OperationInputs inputs;
    inputs.findText = m_tFind->text().toStdString();
    inputs.replaceText = m_tReplace->text().toStdString();
    if (m_oUpper->isChecked())
        inputs.caseMode = CaseMode::Upper;
    else if (m_oLower->isChecked())
        inputs.caseMode = CaseMode::Lower;
    else if (m_oTitle->isChecked())
        inputs.caseMode = CaseMode::Title;
    else if (m_oSentence->isChecked())
        inputs.caseMode = CaseMode::Sentence;
    inputs.addText = m_tText->text().toStdString();
    inputs.addSide = chosenSide(m_oLeftText, m_oRightText);
    inputs.serialSide = chosenSide(m_oLeftSerialize, m_oRightSerialize);
    inputs.trimSide = chosenSide(m_oLeftTrim, m_oRightTrim);
    return inputs;
}

void frmMainWindow::CmdRename_Click() {
    // The start-up load failed: no list, nothing to rename, nothing to say.
    if (m_loadedFolder.empty())
        return;
    std::variant<RunResult, RunRequest> prepared = PrepareRename(m_list, m_loadedFolder);
    if (const auto* refusal = std::get_if<RunResult>(&prepared)) {
        m_gridModel->rowsRecomposed();
        if (!refusal->message.empty())
            showMessage(refusal->message);
        return;
    }
    RunRequest request = std::get<RunRequest>(std::move(prepared));
    const std::size_t files = request.moves.size();
    // The current row follows its file to the name it is given.
    const QModelIndex current = m_MSFlexGrid1->currentIndex();
    const std::string currentFile =
        current.isValid() ? std::string(m_list.row(current.row()).editedName()) : std::string();
    RunResult result = inBackground(
        BackgroundRun::Kind::Renaming,
        [request = std::move(request)](const RunControl& control) mutable {
            return ExecuteRun(std::move(request), control);
        },
        files);
    finishRun(std::move(result), currentFile);
}

void frmMainWindow::UndoLastRename() {
    if (m_run->isRunning() || m_loadedFolder.empty() || !CanUndo(m_loadedFolder, m_records))
        return;
    RunResult result = inBackground(BackgroundRun::Kind::Undoing,
                                    [folder = m_loadedFolder](const RunControl& control) {
                                        return ExecuteUndo(folder, control);
                                    });
    finishRun(std::move(result));
}

// Right after an undo, the files it gave their old names get the new ones again.
void frmMainWindow::RedoLastUndo() {
    if (m_run->isRunning() || m_loadedFolder.empty() || !CanRedo(m_loadedFolder, m_records))
        return;
    RunResult result = inBackground(BackgroundRun::Kind::Renaming,
                                    [folder = m_loadedFolder](const RunControl& control) {
                                        return ExecuteRedo(folder, control);
                                    });
    finishRun(std::move(result));
}

void frmMainWindow::finishRun(RunResult result, const std::string& currentFile) {
    const bool quietly = m_quitAfterRun && result.outcome == RunOutcome::Cancelled;
    // Only the window knows which of a refused run's rows were refused on disk, and why.
    const std::vector<std::size_t> refusedRows = result.errorRows;
    ListChange change;
    if (std::holds_alternative<FolderNotRead>(result.folder)) {
        // Nothing moved, or everything moved back: the rows, their edits, the
        // current cell and the scroll position stay; only marks change.
        change = FinishRun(m_list, m_loadedFolder, result);
        markRefusedRows(result.outcome, refusedRows);
        m_gridModel->rowsRecomposed();
    } else {
        // The rows come back in their order unless new names sort otherwise:
        // the place stays, and the current row follows its file.
        const GridPlace place(*m_MSFlexGrid1);
        change = m_gridModel->reload([&] {
            const ListChange finished = FinishRun(m_list, m_loadedFolder, result);
            if (!finished.reloaded)
                markRefusedRows(result.outcome, refusedRows);
            return finished;
        });
        place.restore(*m_MSFlexGrid1);
        if (result.outcome == RunOutcome::Completed && !currentFile.empty())
            followFile(currentFile);
    }
    if (change.reloaded) {
        m_history.clear();
        m_ImgAbut->setVisible(change.protectedFileListed);
    }
    if (!result.message.empty() && !quietly)
        showMessage(result.message);
    if (m_quitAfterRun)
        QCoreApplication::quit();
}

// A name taken on disk is the one refusal whose cause the rows can show; a
// step that failed is explained by the message.
void frmMainWindow::markRefusedRows(RunOutcome outcome, const std::vector<std::size_t>& rows) {
    const RowFaults fault =
        outcome == RunOutcome::NameTaken ? RowFault::TakenOnDisk : RowFault::None;
    for (const std::size_t row : rows)
        if (row < m_list.size())
            m_list.markError(row, fault);
}

void frmMainWindow::followFile(const std::string& name) {
    const QModelIndex current = m_MSFlexGrid1->currentIndex();
    const std::optional<int> row = m_gridModel->rowListedAs(name);
    if (!row || !current.isValid() || *row == current.row())
        return;
    const QModelIndex cell = m_gridModel->index(*row, current.column());
    const QModelIndexList selected = m_MSFlexGrid1->selectionModel()->selectedIndexes();
    const bool lone = selected.size() == 1 && selected.first() == current;
    m_MSFlexGrid1->selectionModel()->setCurrentIndex(
        cell, lone ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
    m_MSFlexGrid1->scrollTo(cell);
}

void frmMainWindow::CmdBlank_Click() {
    edit("Blank", [this] {
        m_list.Blank();
        return true;
    });
}

void frmMainWindow::CmdReset_Click() {
    edit("Reset", [this] {
        m_list.Reset();
        return true;
    });
}

void frmMainWindow::ImgAbut_Click() {
    showMessage(kProtectedFilesWarning);
}

void frmMainWindow::ImgQbut_Click() {
    ++m_userWaits;
    ShowAbout(this, m_lblTitle->text());
    --m_userWaits;
}

void frmMainWindow::ImgXbut_Click() {
    // Never leave a folder half renamed: stop the run, roll it back, then go.
    if (m_run->isRunning()) {
        m_quitAfterRun = true;
        m_run->cancel();
        return;
    }
    QCoreApplication::quit();
}

void frmMainWindow::closeEvent(QCloseEvent* event) {
    if (m_run->isRunning()) {
        event->ignore();
        ImgXbut_Click();
        return;
    }
    QWidget::closeEvent(event);
}

void frmMainWindow::ResetImageButtons() {
    for (PictureButton* apply : m_ImgApply)
        apply->setState(PictureButton::State::Normal);
    m_ImgXbut->setState(PictureButton::State::Normal);
    m_ImgQbut->setState(PictureButton::State::Normal);
}

void frmMainWindow::showMessage(const std::string& text) {
    ++m_userWaits;
    ShowMessage(this, QString::fromStdString(text));
    --m_userWaits;
}

void frmMainWindow::mouseMoveEvent(QMouseEvent* event) {
    // Moves that a control passed up are that control's, not the background's.
    if (childAt(event->position().toPoint()) == nullptr)
        ResetImageButtons();
    QWidget::mouseMoveEvent(event);
}

bool frmMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        auto* frame = qobject_cast<QGroupBox*>(watched);
        const auto* move = static_cast<QMouseEvent*>(event);
        if (frame != nullptr && frame->childAt(move->position().toPoint()) == nullptr)
            ResetImageButtons();
    }
    return QWidget::eventFilter(watched, event);
}

void frmMainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    // Shape2 frames the title band, Shape1 the body; Line1 steps down under the buttons.
    painter.drawRect(0, 0, px(10335) - 1, px(615) - 1);
    painter.drawRect(0, px(600), px(10335) - 1, px(5775) - 1);
    painter.drawLine(px(15), px(4560), px(6245), px(4560));
    painter.drawLine(px(6240), px(4560), px(6720), px(4800));
    painter.drawLine(px(6720), px(4800), px(10320), px(4800));
}

} // namespace velmorandi
