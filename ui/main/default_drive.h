#pragma once

#include <QStringList>

#include <optional>

namespace velmorandi {

// The drive-list entry selected by default: the first one that is not a floppy
// drive "a:" or "b:" standing at the top of the list. Empty when that entry
// would lie past the end of the list.
std::optional<int> defaultDriveIndex(const QStringList& entries);

} // namespace velmorandi
