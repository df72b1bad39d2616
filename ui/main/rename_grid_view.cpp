#include "main/rename_grid_view.h"

#include "main/rename_grid_model.h"

#include <QFocusEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace velmorandi {

namespace {

// Measured in full when a column is fitted: more than the longest names by
// bytes rarely matter, and a hundred thousand rows would take too long.
constexpr std::size_t kWidestCandidates = 64;

class CurrentCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (!option.state.testFlag(QStyle::State_HasFocus))
            return;
        painter->save();
        painter->setPen(QPen(option.palette.color(QPalette::Text), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

} // namespace

RenameGridView::RenameGridView(QWidget* parent) : QTableView(parent) {
    setTextElideMode(Qt::ElideMiddle);
    setItemDelegate(new CurrentCellDelegate(this));
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
