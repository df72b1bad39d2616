#pragma once

#include <string_view>

namespace velmorandi {

// What each operating system accepts as one file name inside a folder.
bool fitsPosixFileName(std::string_view name);
bool fitsWindowsFileName(std::string_view name);

// The rule of the system this program was built for (chosen in core/platform).
bool fitsPlatformFileName(std::string_view name);

} // namespace velmorandi
