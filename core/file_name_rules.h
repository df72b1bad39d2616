#pragma once

#include <cstddef>
#include <string_view>

namespace velmorandi {

// What each operating system accepts as one file name inside a folder, apart
// from its length, which depends on the folder's file system.
bool fitsPosixFileName(std::string_view name);
bool fitsWindowsFileName(std::string_view name);

// The rule of the system this program was built for (chosen in core/platform).
bool fitsPlatformFileName(std::string_view name);

// How a file system counts the length of a name.
enum class NameUnit { Bytes, Utf16 };

// The longest name one folder's file system holds.
struct NameLimit {
    std::size_t maxLength = 255;
    NameUnit unit = NameUnit::Bytes;
    bool operator==(const NameLimit&) const = default;
};

// Length of the name in the unit; UTF-16 units are counted from the UTF-8 bytes.
std::size_t nameLength(std::string_view name, NameUnit unit);
bool fitsNameLimit(std::string_view name, NameLimit limit);

} // namespace velmorandi
