#include "main/grid_place.h"

#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>

namespace velmorandi {

GridPlace::GridPlace(const QTableView& grid) {
    const QModelIndex current = grid.currentIndex();
    m_row = current.row();
    m_column = current.column();
    if (const QItemSelectionModel* selection = grid.selectionModel())
        for (const QItemSelectionRange& range : selection->selection())
            m_selected.append(
                QRect(QPoint(range.left(), range.top()), QPoint(range.right(), range.bottom())));
    m_scrolledAcross = grid.horizontalScrollBar()->value();
    m_scrolledDown = grid.verticalScrollBar()->value();
}

void GridPlace::restore(QTableView& grid) const {
    const QAbstractItemModel* model = grid.model();
    QItemSelectionModel* selection = grid.selectionModel();
    if (model == nullptr || selection == nullptr)
        return;
    QItemSelection cells;
    for (const QRect& range : m_selected)
        cells.select(model->index(range.top(), range.left()),
                     model->index(range.bottom(), range.right()));
    selection->select(cells, QItemSelectionModel::ClearAndSelect);
    const QModelIndex current = model->index(m_row, m_column);
    if (current.isValid())
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    // The scroll range follows the rows only once they are laid out again.
    grid.doItemsLayout();
    grid.horizontalScrollBar()->setValue(m_scrolledAcross);
    grid.verticalScrollBar()->setValue(m_scrolledDown);
}

} // namespace velmorandi
