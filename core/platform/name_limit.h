#pragma once

#include <cstddef>
#include <string>

namespace velmorandi {

// How a file system counts the length of a name.
enum class NameUnit { Bytes, Utf16 };

// The longest name one folder's file system holds.
struct NameLimit {
    std::size_t maxLength = 255;
    NameUnit unit = NameUnit::Bytes;
    bool operator==(const NameLimit&) const = default;
};

} // namespace velmorandi

namespace velmorandi::platform {

// True where this program was built for Windows, whose names follow its own
// rules (reserved devices, nine forbidden characters) wherever they are stored.
bool namesFollowWindowsRules();

// The longest name the file system holding the folder accepts, in its own unit
// where it can be told, otherwise in bytes as the system reports it.
NameLimit fileNameLimit(const std::string& folder);

} // namespace velmorandi::platform
