#pragma once

#include "rename_list.h"

#include <functional>

class QHeaderView;
class QMenu;

namespace velmorandi {

// The grid's "Order by" submenu: a key and a direction, each keeping the
// other as it is; `choose` gets the order picked.
void addOrderMenu(QMenu& menu, RowOrder now, const std::function<void(RowOrder)>& choose);

// A click on the "Original filename" header orders by name, and again the other way round.
RowOrder orderOfHeaderClick(RowOrder now);

// The header's arrow, shown while the rows are in another order than the folder opens in.
void showOrder(QHeaderView& header, RowOrder order);

} // namespace velmorandi
