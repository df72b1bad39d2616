#pragma once

#include "platform/name_limit.h"

#include <cstddef>
#include <string_view>

namespace velmorandi {

// What each operating system accepts as one file name inside a folder, apart
// from its length, which depends on the folder's file system.
bool fitsPosixFileName(std::string_view name);
bool fitsWindowsFileName(std::string_view name);

// The rule of the system this program was built for (platform::namesFollowWindowsRules).
bool fitsPlatformFileName(std::string_view name);

// Length of the name in the unit; UTF-16 units are counted from the UTF-8 bytes.
std::size_t nameLength(std::string_view name, NameUnit unit);
bool fitsNameLimit(std::string_view name, NameLimit limit);

} // namespace velmorandi
