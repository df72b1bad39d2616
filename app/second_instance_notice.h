#pragma once

namespace velmorandi {

// The standard message box that refuses a second start; returns once dismissed.
void showSecondInstanceNotice();

} // namespace velmorandi
