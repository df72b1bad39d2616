#pragma once

#include "platform/folder_access.h"
#include "rename_list.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velmorandi {

// The rows of `list` in `order`, as RenameList::reorder takes them: the row
// now at result[p] goes to p. Modified and Size read `facts` (one for each
// row); a file without facts goes last. Ties keep name order.
std::vector<std::uint32_t> rowsInOrder(const RenameList& list, RowOrder order,
                                       std::span<const platform::FileFacts> facts);

// Whether an order needs the files' sizes and times.
inline bool needsFacts(RowOrder order) {
    return order.key == RowOrder::Key::Modified || order.key == RowOrder::Key::Size;
}

// The facts of every row's file, read from the folder once, in row order.
// Any thread; a file that is gone, or a folder that cannot be read, leaves
// them unknown.
std::vector<platform::FileFacts> readFileFacts(const std::string& folder, const RenameList& list);

} // namespace velmorandi
