#include "main/grid_room.h"

#include "main/rename_grid_model.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace velmorandi {

namespace {

constexpr std::array kNameColumns = {RenameGridModel::Original, RenameGridModel::Edited};

} // namespace

GridRoom::GridRoom(QTableView* grid) : QObject(grid), m_grid(grid), m_laidOutWidth(grid->width()) {
    // The viewport narrows and widens with the grid and with its vertical scroll bar.
    grid->viewport()->installEventFilter(this);
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, &GridRoom::columnResized);
    // A new folder: columns put back to their laid-out widths have the room again.
    if (grid->model() != nullptr)
        connect(grid->model(), &QAbstractItemModel::modelReset, this, &GridRoom::share);
}

bool GridRoom::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Resize)
        share();
    return false;
}

void GridRoom::columnResized(int column) {
    if (m_sharing)
        return;
    if (column == RenameGridModel::Serial) {
        share();
        return;
    }
    for (std::size_t name = 0; name < kNameColumns.size(); ++name)
        if (column == kNameColumns[name])
            m_given[name] = 0;
}

void GridRoom::share() {
    QHeaderView* header = m_grid->horizontalHeader();
    const int given = m_given[0] + m_given[1];
    const int ownWidths = header->length() - given;
    const int grown = m_grid->width() - m_laidOutWidth;
    const int room = grown > 0 ? std::max(0, m_grid->viewport()->width() - ownWidths) : 0;
    if (room == given)
        return;
    const std::array<int, 2> shares = {room / 2, room - room / 2};
    m_sharing = true;
    for (std::size_t name = 0; name < kNameColumns.size(); ++name) {
        const int column = kNameColumns[name];
        header->resizeSection(column, header->sectionSize(column) - m_given[name] + shares[name]);
        m_given[name] = shares[name];
    }
    m_sharing = false;
}

} // namespace velmorandi
