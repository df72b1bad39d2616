#include "file_name_rules.h"

#include <array>
#include <cctype>

namespace velmorandi {

namespace {

constexpr std::size_t kWindowsNameMax = 255;
constexpr std::string_view kWindowsForbidden = "\\/:*?\"<>|";

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool isPortNumber(std::string_view digit) {
    // Windows reads the superscript digits one to three as port numbers too.
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

bool isWindowsDeviceName(std::string_view name) {
    // "con.txt" and "con.tar.gz" name the device as much as "con" does, and so
    // does "con .txt": the spaces before the dot do not count.
    auto stem = name.substr(0, name.find('.'));
    stem = stem.substr(0, stem.find_last_not_of(' ') + 1);
    static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (auto device : plain) {
        if (equalsIgnoringAsciiCase(stem, device))
            return true;
    }
    if (stem.size() >= 4 && isPortNumber(stem.substr(3)))
        return equalsIgnoringAsciiCase(stem.substr(0, 3), "COM") ||
               equalsIgnoringAsciiCase(stem.substr(0, 3), "LPT");
    return false;
}

} // namespace

bool fitsPosixFileName(std::string_view name) {
    // Two searches of one byte each: find_first_of searches its set once per character.
    return !name.empty() && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool fitsWindowsFileName(std::string_view name) {
    // Windows strips a final dot or space, so the file would get another name
    // than the one shown.
    if (name.empty() || name.back() == '.' || name.back() == ' ' ||
        nameLength(name, NameUnit::Utf16) > kWindowsNameMax)
        return false;
    for (unsigned char c : name) {
        if (c < 0x20 || kWindowsForbidden.find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return !isWindowsDeviceName(name);
}

bool fitsPlatformFileName(std::string_view name) {
    return platform::namesFollowWindowsRules() ? fitsWindowsFileName(name)
                                               : fitsPosixFileName(name);
}

std::size_t nameLength(std::string_view name, NameUnit unit) {
    if (unit == NameUnit::Bytes)
        return name.size();
    std::size_t units = 0;
    for (const unsigned char c : name) {
        const bool continuation = (c & 0xC0) == 0x80;
        const bool beyondBmpLead = c >= 0xF0; // four bytes, one surrogate pair
        units += (continuation ? 0 : 1) + (beyondBmpLead ? 1 : 0);
    }
    return units;
}

bool fitsNameLimit(std::string_view name, NameLimit limit) {
    return nameLength(name, limit.unit) <= limit.maxLength;
}

} // namespace velmorandi
