// The edit history and its keys: Ctrl+Z takes back the edits, then the last
// rename on disk; Ctrl+Y and Ctrl+Shift+Z make them again.
#include "main/main_window.h"

#include "main/rename_grid_model.h"
#include "main/rename_grid_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>

namespace velmorandi {

void frmMainWindow::edit(const char* what, const std::function<bool()>& change) {
    EditedBases before = m_list.editedBases();
    if (!change())
        return;
    m_history.recordIfChanged(m_list, std::move(before), what);
    m_gridModel->rowsRecomposed();
}

frmMainWindow::HistoryStep frmMainWindow::undoStep() {
    if (m_history.canUndo())
        return {QStringLiteral("Undo ") + QString::fromUtf8(m_history.nextUndo()), [this] {
                    m_history.undo(m_list);
                    m_gridModel->rowsRecomposed();
                }};
    if (!m_loadedFolder.empty() && CanUndo(m_loadedFolder, m_records))
        return {QStringLiteral("Undo last rename"), [this] { UndoLastRename(); }};
    return {QStringLiteral("Undo"), {}};
}

frmMainWindow::HistoryStep frmMainWindow::redoStep() {
    if (m_history.canRedo())
        return {QStringLiteral("Redo ") + QString::fromUtf8(m_history.nextRedo()), [this] {
                    m_history.redo(m_list);
                    m_gridModel->rowsRecomposed();
                }};
    // Once the edits have run out: the last undo on disk, renamed again.
    if (!m_loadedFolder.empty() && CanRedo(m_loadedFolder, m_records))
        return {QStringLiteral("Redo last rename"), [this] { RedoLastUndo(); }};
    return {QStringLiteral("Redo"), {}};
}

// Reached from a text box only by the keys it leaves alone (Ctrl+Y where the
// system's redo key is Ctrl+Shift+Z): they are its own all the same.
void frmMainWindow::Undo_Shortcut() {
    if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        box->undo();
        return;
    }
    if (const HistoryStep step = undoStep(); step.run)
        step.run();
}

void frmMainWindow::Redo_Shortcut() {
    if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        box->redo();
        return;
    }
    if (const HistoryStep step = redoStep(); step.run)
        step.run();
}

void frmMainWindow::MSFlexGrid1_ContextMenu(const QPoint& position) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuGrid"));
    const auto offer = [&](const char* name, const HistoryStep& step, const QKeySequence& keys) {
        QAction* action = menu.addAction(step.text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        action->setEnabled(static_cast<bool>(step.run));
        if (step.run)
            connect(action, &QAction::triggered, this, step.run);
    };
    offer("mnuUndo", undoStep(), QKeySequence::Undo);
    offer("mnuRedo", redoStep(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    menu.addSeparator();
    static_cast<RenameGridView*>(m_MSFlexGrid1)->offerWhy(menu, [this](const QString& why) {
        showMessage(why.toStdString());
    });
    menu.exec(m_MSFlexGrid1->viewport()->mapToGlobal(position));
}

} // namespace velmorandi
