#pragma once

#include "rename_list.h"
#include "session/folder_session.h"

#include <QString>

// What the rename grid and its menu say about rows and edits.
namespace velmorandi::words {

// "", "Err!" or "Done": the only texts the status column shows.
QString statusText(RowStatus status);
// Why a row reads "Err!", one line per rule it breaks.
QString faultReasons(RowFaults faults);
// An edit as the history names it: its frame's caption, or its button's.
QString editName(EditKind edit);
// What the menu says Ctrl+Z (undo) or Ctrl+Y would do now.
QString historyOffer(const HistoryOffer& offer, bool undo);

} // namespace velmorandi::words
