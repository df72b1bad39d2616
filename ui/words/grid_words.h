#pragma once

#include "rename_list.h"
#include "session/folder_session.h"

#include <QString>

#include <vector>

// What the rename grid and its menu say about rows and edits.
namespace velmorandi::words {

// "", "Err!" or "Done": the only texts the status column shows.
QString statusText(RowStatus status);
// Why a row reads "Err!", one line per reason (RenameList::reasonsOf).
QString rowReasons(const std::vector<RowReason>& reasons);
// A character as a sentence names it: quoted, or by its code where it cannot be seen.
QString characterName(char32_t character);
// An edit as the history names it: its frame's caption, or its button's.
QString editName(EditKind edit);
// What a screen reader and a tooltip say of a row left out of the rename.
QString leftOutRow();
// The grid menu's commands for Delete and Insert.
QString leaveOutCommand();
QString putBackCommand();
// What the menu says Ctrl+Z (undo) or Ctrl+Y would do now.
QString historyOffer(const HistoryOffer& offer, bool undo);

} // namespace velmorandi::words
