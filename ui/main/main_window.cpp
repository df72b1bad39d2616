#include "main/main_window.h"

#include "main/drive_list.h"
#include "main/folder_list.h"
#include "main/folder_navigation.h"
#include "main/grid_room.h"
#include "main/grid_session.h"
#include "main/keyboard_filter.h"
#include "main/rename_grid_model.h"
#include "main/title_label.h"
#include "main/twips.h"
#include "main/window_edges.h"
#include "shell/about_window.h"
#include "shell/app_icon.h"
#include "shell/message_window.h"
#include "shell/picture_button.h"
#include "shell/window_look.h"
#include "words/message_words.h"
#include "words/run_words.h"

#include "version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSessionManager>
#include <QTableView>
#include <QTimer>

namespace velmorandi {

namespace {

std::optional<Side> chosenSide(const QRadioButton* left, const QRadioButton* right) {
    if (left->isChecked())
        return Side::Left;
    if (right->isChecked())
        return Side::Right;
    return std::nullopt;
}

} // namespace

frmMainWindow::frmMainWindow(QWidget* parent, std::string startFolder, bool recoverFirst,
                             std::string startFile)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_startFolder(std::move(startFolder)),
      m_startFile(std::move(startFile)) {
    setObjectName(QStringLiteral("frmMainWindow"));
    setWindowTitle(QStringLiteral("Velmorandi"));
    setWindowIcon(applicationIcon());
    resize(laidOutSize());
    setMinimumSize(laidOutSize());
    setMouseTracking(true);
    useWindowLook(*this);

    buildTitleBand();
    buildBody();
    buildGrid();
    buildFrames();
    setTabOrder();
    anchorControls();
    new GridRoom(m_MSFlexGrid1);
    // The title reaches the side edges; nothing else comes that near.
    new WindowEdges(this, {m_lblTitle});
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    qApp->installEventFilter(new KeyboardFilter(
        this, [this] { ImgQbut_Click(); }, this));
    m_gridSession = new GridSession(
        m_session, this, {m_MSFlexGrid1, m_gridModel, m_ImgAbut, {m_lblTitle, m_ImgXbut}},
        m_records,
        {[this](const QString& message) { showMessage(message); }, [this] { whenFree(); }});
    m_navigation = new FolderNavigation(
        m_Drive1, m_Dir1,
        {[this](const std::string& root, const std::string& folder) {
             return Dir1_Change(root, folder);
         },
         [this](const QString& message) { showMessage(message); }, [this] { return busy(); }},
        this);

    wireControls();
    startUp(recoverFirst);
}

// The controls' signals to their handlers, and a log-out to the run.
void frmMainWindow::wireControls() {
    connect(m_lblTitle, &TitleLabel::pointerMoved, this, &frmMainWindow::ResetImageButtons);
    connect(m_ImgAbut, &PictureButton::clicked, this, &frmMainWindow::ImgAbut_Click);
    connect(m_ImgQbut, &PictureButton::clicked, this, &frmMainWindow::ImgQbut_Click);
    connect(m_ImgXbut, &PictureButton::clicked, this, &frmMainWindow::ImgXbut_Click);
    for (int i = 0; i < static_cast<int>(m_ImgApply.size()); ++i)
        connect(m_ImgApply[i], &PictureButton::clicked, this, [this, i] { ImgApply_Click(i); });
    connect(m_CmdRename, &QPushButton::clicked, m_gridSession, &GridSession::rename);
    connect(m_CmdReset, &QPushButton::clicked, this,
            [this] { m_gridSession->showEdits(m_session.reset()); });
    connect(m_CmdBlank, &QPushButton::clicked, this,
            [this] { m_gridSession->showEdits(m_session.blank()); });
    connect(m_tFind, &QLineEdit::returnPressed, this, [this] { ImgApply_Click(0); });
    connect(m_tReplace, &QLineEdit::returnPressed, this, [this] { ImgApply_Click(0); });
    connect(m_tText, &QLineEdit::returnPressed, this, [this] { ImgApply_Click(2); });
    // A log-out during a run is a close: the run is cancelled, and the log-out
    // waits for the names to be back.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (m_gridSession->endAfterRun() && manager.allowsInteraction())
            manager.cancel();
    });
}

// The first folder, after the runs a crash left are put right where asked.
void frmMainWindow::startUp(bool recoverFirst) {
    m_Dir1->setFocus();
    Form_Load();
    if (recoverFirst) {
        // Once the window shows, so the progress and the report have it to sit on.
        QTimer::singleShot(0, this, [this] {
            reportRecovery(m_gridSession->recoverInterruptedRuns());
            if (m_gridSession->ending())
                QCoreApplication::quit();
            else
                openFirstFolder();
        });
    } else {
        openFirstFolder();
    }
}

void frmMainWindow::setRunTesting(RunTesting testing) {
    m_gridSession->setTesting(std::move(testing));
}

// A cell editor still open commits as the window goes, when the rows are gone.
frmMainWindow::~frmMainWindow() {
    m_gridModel->onNameTyped({});
}

void frmMainWindow::Form_Load() {
    m_lblTitle->setTitle(QStringLiteral("          Velmorandi ") +
                         QString::fromStdString(GetVersion()));
    QHeaderView* header = m_MSFlexGrid1->horizontalHeader();
    QFont headerFont = header->font();
    headerFont.setBold(true);
    header->setFont(headerFont);
}

// The folder the program was asked to open, else the default drive.
void frmMainWindow::openFirstFolder() {
    if (!m_startFolder.empty() && m_navigation->openWithItsDrive(m_startFolder)) {
        m_gridSession->makeCurrent(m_gridModel->rowListedAs(m_startFile), true);
        return;
    }
    if (!m_startFolder.empty())
        showMessage(words::folderNotOpened(QString::fromStdString(m_startFolder)));
    m_navigation->SelectDefaultDrive();
}

frmMainWindow::HandOver frmMainWindow::openHandedOver(const std::string& folder,
                                                      const std::string& file) {
    if (m_gridSession->ending())
        return HandOver::Refused;
    m_handedOver.emplace(folder, file);
    whenFree();
    return busy() ? HandOver::WhenFree : HandOver::Opening;
}

void frmMainWindow::openFolder(const std::string& folder, const std::string& file) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    // It may lie on a drive plugged in since the list was last read.
    m_navigation->refreshDrives();
    if (m_navigation->openWithItsDrive(folder))
        m_gridSession->makeCurrent(m_gridModel->rowListedAs(file), true);
    else
        showMessage(words::folderNotOpened(QString::fromStdString(folder)));
}

bool frmMainWindow::busy() const {
    return m_gridSession->isRunning() || m_userWaits > 0 ||
           QApplication::activeModalWidget() != nullptr;
}

// What waited for the window: drives to read again, a folder handed over.
// Not inside the caller's own handling: a load runs an event loop of its own.
void frmMainWindow::whenFree() {
    QTimer::singleShot(0, this, [this] {
        if (busy() || m_gridSession->ending())
            return;
        m_navigation->takeUpDeferred();
        if (const auto handedOver = std::exchange(m_handedOver, std::nullopt))
            openFolder(handedOver->first, handedOver->second);
    });
}

bool frmMainWindow::Dir1_Change(const std::string& root, const std::string& folder) {
    std::optional<std::vector<std::string>> subfolders = m_gridSession->load(folder);
    if (!subfolders)
        return false;
    m_Dir1->setPath(root, folder, std::move(*subfolders));
    return true;
}

void frmMainWindow::ImgApply_Click(int index) {
    if (const std::optional<Operation> operation = ApplyButtonOperation(index))
        m_gridSession->showEdits(m_session.apply(*operation, frameInputs()));
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

void frmMainWindow::ImgAbut_Click() {
    showMessage(m_gridSession->inProgramFolder() ? words::programFolderWarning()
                                                 : words::protectedFilesWarning());
}

void frmMainWindow::ImgQbut_Click() {
    ++m_userWaits;
    ShowAbout(this, m_lblTitle->text());
    --m_userWaits;
    whenFree();
}

// Never leave a folder half renamed: as Cancel does, a run stops and its names
// go back; the program ends after.
void frmMainWindow::ImgXbut_Click() {
    if (!m_gridSession->endAfterRun())
        QCoreApplication::quit();
}

void frmMainWindow::closeEvent(QCloseEvent* event) {
    if (m_gridSession->endAfterRun())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void frmMainWindow::ResetImageButtons() {
    for (PictureButton* apply : m_ImgApply)
        apply->setState(PictureButton::State::Normal);
    m_ImgXbut->setState(PictureButton::State::Normal);
    m_ImgQbut->setState(PictureButton::State::Normal);
}

// An entry that only the user can tell from the run's own is asked about;
// each answer "Remove" may leave another to ask about (a rollback's, then its run's).
void frmMainWindow::reportRecovery(RecoveryReport report) {
    while (!report.empty()) {
        const RecoveryNote* unmarked = words::unmarkedNote(report);
        if (unmarked == nullptr) {
            showMessage(words::recoveryReport(report));
            return;
        }
        const RecoveryNote note = *unmarked;
        ++m_userWaits;
        const bool remove = AskMessage(this,
                                       words::recoveryReport(report) + QStringLiteral("\r\n\r\n") +
                                           words::unmarkedQuestion(note),
                                       words::removeUnmarkedChoice(), words::keepUnmarkedChoice());
        --m_userWaits;
        if (!remove || m_gridSession->ending())
            break;
        report = m_gridSession->removeUnmarkedAndRecover(note);
    }
    whenFree();
}

void frmMainWindow::showMessage(const QString& text) {
    ++m_userWaits;
    ShowMessage(this, text);
    --m_userWaits;
    whenFree();
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
    // Shape2 frames the title band, Shape1 the body; Line1 steps down under the
    // buttons, and its step moves with them.
    painter.drawRect(0, 0, width() - 1, px(615) - 1);
    painter.drawRect(0, px(600), width() - 1, height() - px(600) - 1);
    const int across = grown().width();
    const int down = grown().height();
    painter.drawLine(px(15), px(4560) + down, px(6245) + across, px(4560) + down);
    painter.drawLine(px(6240) + across, px(4560) + down, px(6720) + across, px(4800) + down);
    painter.drawLine(px(6720) + across, px(4800) + down, px(10320) + across, px(4800) + down);
}

void frmMainWindow::resizeEvent(QResizeEvent* event) {
    m_anchors.follow(grown());
    QWidget::resizeEvent(event);
}

} // namespace velmorandi
