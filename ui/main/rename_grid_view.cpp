#include "main/rename_grid_view.h"

#include "main/grid_cell_delegate.h"
#include "main/rename_grid_model.h"
#include "words/message_words.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QToolTip>

#include <algorithm>
#include <utility>

namespace velmorandi {

namespace {

// Measured in full when a column is fitted: more than the longest names by
// bytes rarely matter, and a hundred thousand rows would take too long.
constexpr std::size_t kWidestCandidates = 64;

} // namespace

RenameGridView::RenameGridView(QWidget* parent) : QTableView(parent) {
    setTextElideMode(Qt::ElideMiddle);
    setItemDelegate(new GridCellDelegate(this));
    // However the column was made narrower, by a drag or by a new layout.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == RenameGridModel::Serial)
            fitSerialColumn();
    });
}

void RenameGridView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    if (model == nullptr)
        return;
    connect(model, &QAbstractItemModel::modelReset, this, &RenameGridView::fitSerialColumn);
    connect(model, &QAbstractItemModel::rowsInserted, this, &RenameGridView::fitSerialColumn);
    fitSerialColumn();
}

// Row numbers are never shortened: the column widens to the largest of them.
void RenameGridView::fitSerialColumn() {
    const int needed = serialWidth();
    if (columnWidth(RenameGridModel::Serial) < needed)
        setColumnWidth(RenameGridModel::Serial, needed);
}

int RenameGridView::serialWidth() const {
    const int rows = model() == nullptr ? 0 : model()->rowCount();
    if (rows == 0)
        return 0;
    // As wide as the widest digit repeated: every number of that many digits fits.
    const QModelIndex last = model()->index(rows - 1, RenameGridModel::Serial);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QString number = last.data().toString();
    int widestDigit = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widestDigit = std::max(widestDigit, option.fontMetrics.horizontalAdvance(QChar(digit)));
    const int spare = widestDigit * static_cast<int>(number.size()) -
                      option.fontMetrics.horizontalAdvance(number);
    const int gridLine = showGrid() ? 1 : 0;
    return itemDelegateForIndex(last)->sizeHint(option, last).width() + std::max(spare, 0) +
           gridLine;
}

void RenameGridView::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Plus fits the current column as a double-click on its edge does.
    const bool fit = event->modifiers().testFlag(Qt::ControlModifier) &&
                     (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal);
    if (fit && currentIndex().isValid()) {
        resizeColumnToContents(currentIndex().column());
        emit columnFitted(currentIndex().column());
        scrollTo(currentIndex());
        event->accept();
        return;
    }
    // The menu key comes as a menu event from most window systems; Shift+F10 only from some.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint at = visualRect(currentIndex()).center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(this, &menu);
        event->accept();
        return;
    }
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    if (currentIndex() != before)
        showCellTip(currentIndex());
}

bool RenameGridView::isShortened(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    return itemDelegateForIndex(index)->sizeHint(option, index).width() >
           columnWidth(index.column());
}

void RenameGridView::showCurrentTip() {
    showCellTip(currentIndex());
}

// What the pointer would show, for the keyboard: a name shortened in the
// middle in whole, a refused row's reason, why Rename would refuse a name.
void RenameGridView::showCellTip(const QModelIndex& index) {
    const QString tip = index.data(Qt::ToolTipRole).toString();
    const bool always = index.column() == RenameGridModel::Status ||
                        index.data(RenameGridModel::RefusedRole).toBool();
    if (tip.isEmpty() || (!always && !isShortened(index))) {
        QToolTip::hideText();
        return;
    }
    const QRect cell = visualRect(index);
    QToolTip::showText(viewport()->mapToGlobal(cell.bottomLeft()), tip, viewport(), cell);
}

void RenameGridView::offerWhy(QMenu& menu, const std::function<void(const QString&)>& show) {
    const auto* rows = qobject_cast<const RenameGridModel*>(model());
    const int row = currentIndex().row();
    const QString reason = rows == nullptr ? QString() : rows->reasonOfRow(row);
    QAction* why = menu.addAction(tr("Why\u2026"));
    why->setObjectName(QStringLiteral("mnuWhy"));
    why->setEnabled(!reason.isEmpty());
    if (reason.isEmpty())
        return;
    const QString name = rows->index(row, RenameGridModel::Original).data().toString();
    const QString text = words::rowRefused(row + 1, name, reason);
    connect(why, &QAction::triggered, this, [show, text] { show(text); });
}

void RenameGridView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        moveToNamesColumn();
}

// Typing a letter then finds a file by its name.
void RenameGridView::moveToNamesColumn() {
    if (model() == nullptr || model()->rowCount() == 0)
        return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() == RenameGridModel::Original)
        return;
    const QModelIndex target =
        model()->index(current.isValid() ? current.row() : 0, RenameGridModel::Original);
    // A selection of several cells is the user's; a lone selected cell follows.
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    const bool lone = selected.isEmpty() || (selected.size() == 1 && selected.first() == current);
    selectionModel()->setCurrentIndex(target, lone ? QItemSelectionModel::ClearAndSelect
                                                   : QItemSelectionModel::NoUpdate);
}

int RenameGridView::sizeHintForColumn(int column) const {
    // The rows around the visible ones, as the view measures them...
    int width = QTableView::sizeHintForColumn(column);
    const auto* rows = qobject_cast<const RenameGridModel*>(model());
    if (rows == nullptr)
        return width;
    // ...and the longest names anywhere in the list.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int gridLine = showGrid() ? 1 : 0;
    for (const int row : rows->longestRows(column, kWidestCandidates)) {
        const QModelIndex index = rows->index(row, column);
        width = std::max(width,
                         itemDelegateForIndex(index)->sizeHint(option, index).width() + gridLine);
    }
    return width;
}

} // namespace velmorandi
