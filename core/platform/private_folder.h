#pragma once

#include <optional>
#include <string>

namespace velmorandi::platform {

// A folder of this user's own that no other user may enter, for what the
// program keeps while it runs (the single-instance lock): the session's
// runtime folder when it is such a folder, else one the program makes for
// itself in the temporary folder. Nothing when neither can be had.
std::optional<std::string> privateFolder();

} // namespace velmorandi::platform
