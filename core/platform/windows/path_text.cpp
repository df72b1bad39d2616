#include "platform/path_text.h"

#include "platform/windows/wide_text.h"

#include "platform/windows/windows_api.h"

#include <algorithm>

namespace velmorandi::platform {
namespace {

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::wstring withBackslashes(std::string_view text) {
    std::wstring wide = widen(text);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

bool isUncMark(std::string_view text) {
    return text.size() == 4 && (text[0] | 0x20) == 'u' && (text[1] | 0x20) == 'n' &&
           (text[2] | 0x20) == 'c' && text[3] == '\\';
}

// "\\?\C:\x" and "\\?\UNC\server\share\x" name C:\x and \\server\share\x past the
// file functions' limits. The program adds that prefix itself where it reaches
// the disk, and writes paths as the folder list shows them.
std::string withoutExtendedPrefix(std::string_view path) {
    if (!path.starts_with("\\\\?\\"))
        return std::string(path);
    const std::string_view rest = path.substr(4);
    if (rest.size() >= 2 && isDriveLetter(rest[0]) && rest[1] == ':')
        return std::string(rest);
    if (rest.size() > 4 && isUncMark(rest.substr(0, 4)))
        return "\\\\" + std::string(rest.substr(4));
    return std::string(path);
}

} // namespace

// The file system's own comparison: its upper-case table, not the user's locale.
bool samePathText(std::string_view a, std::string_view b) {
    const std::wstring wideA = withBackslashes(a);
    const std::wstring wideB = withBackslashes(b);
    return ::CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                  static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

std::string nativePath(std::string_view path) {
    std::string native = withoutExtendedPrefix(path);
    std::replace(native.begin(), native.end(), '/', '\\');
    // "C:" alone means the drive's current folder; a drive in a list means its root.
    if (native.size() == 2 && isDriveLetter(native[0]) && native[1] == ':')
        native.push_back('\\');
    return native;
}

bool isAbsolutePath(std::string_view path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3 && isDriveLetter(path[0]) && path[1] == ':' && separator(path[2]))
        return true;
    return path.size() >= 3 && separator(path[0]) && separator(path[1]) && !separator(path[2]);
}

std::string networkShareRoot(std::string_view path) {
    const std::string native = nativePath(path);
    if (!native.starts_with("\\\\") || native.starts_with("\\\\?\\") ||
        native.starts_with("\\\\.\\"))
        return {};
    const std::size_t server = native.find('\\', 2);
    if (server == std::string::npos || server == 2 || server + 1 == native.size())
        return {};
    const std::size_t share = native.find('\\', server + 1);
    if (share == server + 1)
        return {};
    return native.substr(0, share) + '\\';
}

// The system's own reading: the standard library of MinGW takes "\\\\server\\share"
// for a folder "server" on the current drive.
std::string absolutePath(std::string_view path) {
    const std::wstring wide = widen(nativePath(path));
    DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return std::string(path);
    std::wstring full(length, L'\0');
    length = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    full.resize(length);
    std::string absolute = narrow(full);
    const bool isRoot =
        (absolute.size() == 3 && absolute[1] == ':') || absolute == networkShareRoot(absolute);
    if (!isRoot && absolute.size() > 1 && absolute.back() == '\\')
        absolute.pop_back();
    return absolute;
}

std::string currentFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
        if (length == 0)
            return {};
        if (length < folder.size()) {
            folder.resize(length);
            return narrow(folder);
        }
        folder.resize(length); // the size asked for includes the terminating zero
    }
}

std::filesystem::path fileSystemPath(const std::string& bytes) {
    return std::filesystem::path(widen(bytes));
}

std::string pathBytes(const std::filesystem::path& path) {
    return narrow(path.native());
}

} // namespace velmorandi::platform
