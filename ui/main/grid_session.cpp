#include "main/grid_session.h"

#include "main/box_notice.h"
#include "main/grid_order.h"
#include "main/grid_place.h"
#include "main/input_hold.h"
#include "main/rename_grid_model.h"
#include "main/rename_grid_view.h"
#include "words/grid_words.h"
#include "words/message_words.h"
#include "words/run_words.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace velmorandi {

namespace {

bool inRange(int column, const std::array<bool, 4>& columns) {
    return column >= 0 && column < static_cast<int>(columns.size());
}

} // namespace

GridSession::GridSession(FolderSession& session, QWidget* window, Controls controls,
                         const JournalStore& records, Hooks hooks)
    : QObject(window), m_session(session), m_grid(controls.grid), m_model(controls.model),
      m_warning(controls.warning), m_hooks(std::move(hooks)),
      m_run(new BackgroundRun(window, records)),
      m_inputHold(new InputHold(
          window, std::move(controls.free), [this] { m_run->cancel(); }, this)) {
    qApp->installEventFilter(m_inputHold);

    QHeaderView* header = m_grid->horizontalHeader();
    for (int column = 0; column < static_cast<int>(m_layoutWidths.size()); ++column)
        m_layoutWidths[column] = header->sectionSize(column);
    // The view fits a column first; a drag on its edge afterwards makes it the user's own.
    connect(header, &QHeaderView::sectionResized, this, [this](int column) {
        if (inRange(column, m_fitted))
            m_fitted[column] = false;
    });
    const auto fitted = [this](int column) {
        if (inRange(column, m_fitted))
            m_fitted[column] = true;
    };
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this, fitted);
    if (auto* view = qobject_cast<RenameGridView*>(m_grid))
        connect(view, &RenameGridView::columnFitted, this, fitted);

    // A text box keeps Ctrl+Z for its own text: it takes the shortcut first.
    connect(new QShortcut(QKeySequence::Undo, window), &QShortcut::activated, this,
            &GridSession::undoKey);
    for (const QKeySequence& redo :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        connect(new QShortcut(redo, window), &QShortcut::activated, this, &GridSession::redoKey);
    m_model->onNameTyped(
        [this](std::size_t row, const QString& name) { return nameTyped(row, name); });
    connect(new QShortcut(QKeySequence(Qt::Key_F8), window), &QShortcut::activated, this,
            [this] { goToMark(false); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8), window), &QShortcut::activated,
            this, [this] { goToMark(true); });
    // The grid's own keys: a text box, the cell's editor included, keeps its Delete.
    for (const auto& [key, out] : {std::pair{Qt::Key_Delete, true}, {Qt::Key_Insert, false}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), m_grid);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, out] { leaveOutSelected(out); });
    }
    // Only the names' header answers a click.
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        if (column == RenameGridModel::Original)
            orderRows(orderOfHeaderClick(m_session.list().order()));
    });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &GridSession::showMenu);
}

template <class Work>
auto GridSession::inBackground(BackgroundRun::Kind kind, Work&& work, std::size_t files) {
    m_inputHold->setActive(true);
    auto result = m_run->run(kind, std::forward<Work>(work), files);
    m_inputHold->setActive(false);
    // Closed while a folder was read: nothing was changed, so nothing holds the user.
    if (m_ending && kind == BackgroundRun::Kind::Reading)
        QCoreApplication::quit();
    m_hooks.freed();
    return result;
}

bool GridSession::endAfterRun() {
    if (!m_run->isRunning())
        return false;
    m_ending = true;
    m_run->cancel();
    return true;
}

RecoveryReport GridSession::recoverInterruptedRuns() {
    return inBackground(BackgroundRun::Kind::Restoring, RecoverInterruptedRuns);
}

RecoveryReport GridSession::removeUnmarkedAndRecover(const RecoveryNote& note) {
    return inBackground(BackgroundRun::Kind::Restoring, [&note](const RunControl& control) {
        return RemoveUnmarkedAndRecover(note, control);
    });
}

std::optional<std::vector<std::string>> GridSession::load(const std::string& folder) {
    const bool wasWarning = !m_warning->isHidden();
    m_warning->hide();
    // A folder of a million files takes seconds to read and sort: the rows are
    // built off the window's thread and take the list's place in one swap.
    FolderSession::Loaded loaded =
        inBackground(BackgroundRun::Kind::Reading, m_session.startLoad(folder));
    FolderSession::Opened opened;
    if (loaded.failed()) {
        opened = m_session.finishLoad(std::move(loaded));
    } else {
        if (folder != m_session.folder())
            fitColumnsToLayout();
        m_model->reload([&] { opened = m_session.finishLoad(std::move(loaded)); });
    }
    showOrder();
    m_warning->setVisible(opened.error ? wasWarning : opened.protectedFileListed);
    if (!opened.recovery.empty())
        m_hooks.say(words::recoveryReport(opened.recovery));
    if (opened.error)
        return std::nullopt;
    return std::move(opened.subfolders);
}

// Columns fitted to the names of the folder left take their own widths again.
void GridSession::fitColumnsToLayout() {
    for (int column = 0; column < static_cast<int>(m_fitted.size()); ++column)
        if (std::exchange(m_fitted[column], false))
            m_grid->horizontalHeader()->resizeSection(column, m_layoutWidths[column]);
}

void GridSession::showEdits(bool changed) {
    if (changed)
        m_model->rowsRecomposed();
}

bool GridSession::nameTyped(std::size_t row, const QString& name) {
    if (m_session.nameByHand(row, name.toStdString())) {
        m_model->rowsRecomposed();
        return true;
    }
    const std::string_view extension = m_session.list().row(row).extension();
    showBoxNotice(*m_grid, words::extensionKept(QString::fromUtf8(
                               extension.data(), static_cast<qsizetype>(extension.size()))));
    return false;
}

void GridSession::rename() {
    std::variant<RunResult, FolderSession::Run> prepared = m_session.prepareRename();
    if (auto* run = std::get_if<FolderSession::Run>(&prepared)) {
        runOnDisk(std::move(*run));
        return;
    }
    m_model->rowsRecomposed();
    if (const QString refusal = words::runNews(std::get<RunResult>(prepared).news);
        !refusal.isEmpty())
        m_hooks.say(refusal);
}

void GridSession::takeBack() {
    if (m_session.undoEdit()) {
        m_model->rowsRecomposed();
        showOrder();
    } else if (std::optional<FolderSession::Run> undo = m_session.prepareUndo())
        runOnDisk(std::move(*undo));
}

void GridSession::makeAgain() {
    if (m_session.redoEdit()) {
        m_model->rowsRecomposed();
        showOrder();
    } else if (std::optional<FolderSession::Run> redo = m_session.prepareRedo())
        runOnDisk(std::move(*redo));
}

void GridSession::runOnDisk(FolderSession::Run run) {
    if (m_run->isRunning())
        return;
    const auto kind = run.kind() == FolderSession::Run::Kind::Undo ? BackgroundRun::Kind::Undoing
                                                                   : BackgroundRun::Kind::Renaming;
    const QModelIndex current = m_grid->currentIndex();
    const auto currentRow =
        current.isValid() ? std::optional<std::size_t>(current.row()) : std::nullopt;
    const std::size_t files = run.files();
    FolderSession::RunDone done = inBackground(kind, std::move(run), files);
    // The rows come back in their order unless new names sort otherwise: the
    // place stays, and the current row follows its file.
    FolderSession::Finished finished;
    if (done.replacesRows()) {
        const GridPlace place(*m_grid);
        m_model->reload([&] { finished = m_session.finishRun(std::move(done), currentRow); });
        place.restore(*m_grid);
    } else {
        finished = m_session.finishRun(std::move(done), currentRow);
        m_model->rowsRecomposed();
    }
    makeCurrent(finished.followedRow, false);
    showOrder();
    if (finished.reloaded)
        m_warning->setVisible(finished.protectedFileListed);
    // Closed while it ran: a cancel that put every name back has nothing to tell.
    const bool quietly =
        m_ending && finished.outcome == RunOutcome::Cancelled && finished.folderAsBefore;
    if (const QString news = words::runNews(finished.news); !news.isEmpty() && !quietly)
        m_hooks.say(news);
    if (m_ending)
        QCoreApplication::quit();
}

void GridSession::makeCurrent(std::optional<std::size_t> row, bool centred) {
    const QModelIndex current = m_grid->currentIndex();
    if (!row || (current.isValid() && current.row() == static_cast<int>(*row)))
        return;
    const QModelIndex cell = m_model->index(
        static_cast<int>(*row), current.isValid() ? current.column() : RenameGridModel::Original);
    QItemSelectionModel* selection = m_grid->selectionModel();
    const QModelIndexList selected = selection->selectedIndexes();
    const bool lone = selected.isEmpty() || (selected.size() == 1 && selected.first() == current);
    selection->setCurrentIndex(cell, lone ? QItemSelectionModel::ClearAndSelect
                                          : QItemSelectionModel::NoUpdate);
    // Once the grid is laid out at its size, so that a row to centre lands in the middle.
    QTimer::singleShot(0, m_grid, [grid = m_grid, cell, centred] {
        grid->scrollTo(cell, centred ? QAbstractItemView::PositionAtCenter
                                     : QAbstractItemView::EnsureVisible);
    });
}

// Reached from a text box only by the keys it leaves alone (Ctrl+Y where the
// system's redo key is Ctrl+Shift+Z): they are its own all the same.
void GridSession::undoKey() {
    if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        box->undo();
    else
        takeBack();
}

void GridSession::redoKey() {
    if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        box->redo();
    else
        makeAgain();
}

void GridSession::showMenu(const QPoint& position) {
    QMenu menu(m_grid->window());
    menu.setObjectName(QStringLiteral("mnuGrid"));
    const auto offer = [&](const char* name, bool undo, const QKeySequence& keys,
                           void (GridSession::*step)()) {
        const HistoryOffer what = undo ? m_session.undoOffer() : m_session.redoOffer();
        QAction* action = menu.addAction(words::historyOffer(what, undo));
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        action->setEnabled(what.kind != HistoryOffer::Kind::Nothing);
        connect(action, &QAction::triggered, this, step);
    };
    offer("mnuUndo", true, QKeySequence::Undo, &GridSession::takeBack);
    offer("mnuRedo", false, QKeySequence(Qt::CTRL | Qt::Key_Y), &GridSession::makeAgain);
    menu.addSeparator();
    offerLeaveOut(menu);
    menu.addSeparator();
    addOrderMenu(menu, m_session.list().order(), [this](RowOrder order) { orderRows(order); });
    menu.addSeparator();
    if (auto* view = qobject_cast<RenameGridView*>(m_grid))
        view->offerWhy(menu, [this](const QString& why) { m_hooks.say(why); });
    menu.exec(m_grid->viewport()->mapToGlobal(position));
}

std::vector<std::size_t> GridSession::selectedRows() const {
    // By ranges: Ctrl+A on a million rows would be four million cells.
    std::vector<std::size_t> rows;
    for (const QItemSelectionRange& range : m_grid->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(static_cast<std::size_t>(row));
    if (rows.empty() && m_grid->currentIndex().isValid())
        rows.push_back(static_cast<std::size_t>(m_grid->currentIndex().row()));
    std::ranges::sort(rows);
    rows.erase(std::ranges::unique(rows).begin(), rows.end());
    return rows;
}

void GridSession::leaveOutSelected(bool out) {
    const std::vector<std::size_t> rows = selectedRows();
    if (rows.empty())
        return;
    if (out ? m_session.leaveOut(rows) : m_session.putBack(rows))
        m_model->rowsRecomposed();
}

// Each offered where it would change a row.
void GridSession::offerLeaveOut(QMenu& menu) {
    bool anyIn = false;
    bool anyOut = false;
    for (const std::size_t row : selectedRows()) {
        const bool leftOut = row < m_session.list().size() && m_session.list().row(row).leftOut();
        anyIn = anyIn || !leftOut;
        anyOut = anyOut || leftOut;
    }
    const auto offer = [&](const QString& caption, const char* name, Qt::Key key, bool out,
                           bool enabled) {
        QAction* action = menu.addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(QKeySequence(key));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, out] { leaveOutSelected(out); });
    };
    offer(words::leaveOutCommand(), "mnuLeaveOut", Qt::Key_Delete, true, anyIn);
    offer(words::putBackCommand(), "mnuPutBack", Qt::Key_Insert, false, anyOut);
}

// The current row follows its file to its new place.
void GridSession::orderRows(RowOrder order) {
    if (m_run->isRunning())
        return;
    const QModelIndex current = m_grid->currentIndex();
    FolderSession::Ordered ordered =
        inBackground(BackgroundRun::Kind::Reading, m_session.startOrder(order));
    std::optional<std::size_t> followed;
    if (current.isValid() && static_cast<std::size_t>(current.row()) < ordered.rows.size())
        followed = static_cast<std::size_t>(
            std::find(ordered.rows.begin(), ordered.rows.end(), current.row()) -
            ordered.rows.begin());
    bool moved = false;
    m_model->reload([&] { moved = m_session.finishOrder(std::move(ordered)); });
    showOrder();
    if (current.isValid())
        makeCurrent(moved ? followed : std::optional<std::size_t>(current.row()), false);
}

void GridSession::showOrder() {
    velmorandi::showOrder(*m_grid->horizontalHeader(), m_session.list().order());
}

void GridSession::goToMark(bool backward) {
    const QModelIndex current = m_grid->currentIndex();
    const std::optional<std::size_t> row = m_session.marks().next(
        current.isValid() ? std::optional<std::size_t>(current.row()) : std::nullopt, backward);
    if (!row || static_cast<int>(*row) >= m_model->rowCount())
        return;
    const QModelIndex cell = m_model->index(static_cast<int>(*row), RenameGridModel::Edited);
    m_grid->setFocus(Qt::ShortcutFocusReason);
    m_grid->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    m_grid->scrollTo(cell);
    if (auto* view = qobject_cast<RenameGridView*>(m_grid))
        view->showCurrentTip();
}

} // namespace velmorandi
