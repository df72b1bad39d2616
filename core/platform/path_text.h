#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// What paths look like on this platform, one implementation per system.
namespace velmorandi::platform {

// Whether two pieces of path text name the same thing: byte for byte on
// Linux, ignoring letter case and the kind of separator on Windows.
bool samePathText(std::string_view a, std::string_view b);

std::string nativePath(std::string_view path);

// A whole path from the top of a drive: "/..." on Linux; "C:\..." or a
// network share "\\server\share\..." on Windows.
bool isAbsolutePath(std::string_view path);

// The root of the network share a path lies on, "\\server\share\", which no
// drive letter stands for; empty for any other path, and always on Linux.
std::string networkShareRoot(std::string_view path);

// The path from the top of its drive (the current folder's, for a relative
// one), "." and ".." resolved, and without a separator at its end unless it
// is a root; as it was when it cannot be made.
std::string absolutePath(std::string_view path);

std::string currentFolder();

// A path as the standard library's file functions take it, and back: the bytes
// as they are on Linux, UTF-16 through WTF-8 on Windows (never the code page).
std::filesystem::path fileSystemPath(const std::string& bytes);
std::string pathBytes(const std::filesystem::path& path);

} // namespace velmorandi::platform
