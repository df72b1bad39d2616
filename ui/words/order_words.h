#pragma once

#include "rename_list.h"

#include <QString>

// What the grid's menu and header say about the order of the rows.
namespace velmorandi::words {

// The submenu that orders the rows.
QString orderMenu();
// A key of the order, as the submenu lists it.
QString orderKey(RowOrder::Key key);
QString ascending();
QString descending();
// What the "Original filename" header's tip says of the order shown.
QString orderShown(RowOrder order);

} // namespace velmorandi::words
