#pragma once

#include <string>
#include <string_view>

// What paths look like on this platform, one implementation per system.
namespace velmorandi::platform {

// Whether two pieces of path text name the same thing: byte for byte on
// Linux, ignoring letter case and the kind of separator on Windows.
bool samePathText(std::string_view a, std::string_view b);

std::string nativePath(std::string_view path);

std::string currentFolder();

} // namespace velmorandi::platform
