#pragma once

namespace velmorandi {

// The standard message box that refuses a second start; returns once dismissed.
void showSecondInstanceNotice();

// The same box when the running instance, busy with a run or a message, opens
// the second start's folder once it is free.
void showFolderWaitsNotice();

} // namespace velmorandi
