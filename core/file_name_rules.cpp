#include "file_name_rules.h"

#include <array>
#include <cctype>
#include <utility>

namespace velmorandi {

namespace {

constexpr std::size_t kWindowsNameMax = 255;
constexpr std::string_view kWindowsForbidden = "\\/:*?\"<>|";

std::string asciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool isPortNumber(std::string_view digit) {
    // Windows reads the superscript digits one to three as port numbers too.
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

// The device the name stands for, in capitals, or "" where it names none.
std::string reservedDevice(std::string_view name) {
    // "con.txt" and "con.tar.gz" name the device as much as "con" does, and so
    // does "con .txt": the spaces before the dot do not count.
    auto stem = name.substr(0, name.find('.'));
    stem = stem.substr(0, stem.find_last_not_of(' ') + 1);
    static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    const std::string upper = asciiUpper(stem);
    for (auto device : plain) {
        if (upper == device)
            return upper;
    }
    const std::string_view prefix = std::string_view(upper).substr(0, 3);
    if (stem.size() >= 4 && isPortNumber(stem.substr(3)) && (prefix == "COM" || prefix == "LPT"))
        return upper;
    return {};
}

} // namespace

NameCheck NameCheck::forbiddenCharacter(char c) {
    NameCheck check(NameFault::ForbiddenCharacter);
    check.character = c;
    return check;
}

NameCheck NameCheck::reservedDevice(std::string name) {
    NameCheck check(NameFault::ReservedDevice);
    check.device = std::move(name);
    return check;
}

NameCheck checkPosixFileName(std::string_view name) {
    // Two searches of one byte each: find_first_of searches its set once per character.
    if (name.empty())
        return NameFault::Empty;
    if (name.find('/') != std::string_view::npos)
        return NameCheck::forbiddenCharacter('/');
    if (name.find('\0') != std::string_view::npos)
        return NameCheck::forbiddenCharacter('\0');
    return {};
}

NameCheck checkWindowsFileName(std::string_view name) {
    if (name.empty())
        return NameFault::Empty;
    for (unsigned char c : name) {
        if (c < 0x20 || kWindowsForbidden.find(static_cast<char>(c)) != std::string_view::npos)
            return NameCheck::forbiddenCharacter(static_cast<char>(c));
    }
    if (std::string device = reservedDevice(name); !device.empty())
        return NameCheck::reservedDevice(std::move(device));
    // Windows strips a final dot or space, so the file would get another name
    // than the one shown.
    if (name.back() == '.')
        return NameFault::EndsInDot;
    if (name.back() == ' ')
        return NameFault::EndsInSpace;
    if (nameLength(name, NameUnit::Utf16) > kWindowsNameMax)
        return NameFault::TooLong;
    return {};
}

bool fitsPosixFileName(std::string_view name) {
    return checkPosixFileName(name).fault == NameFault::None;
}

bool fitsWindowsFileName(std::string_view name) {
    return checkWindowsFileName(name).fault == NameFault::None;
}

NameCheck checkPlatformFileName(std::string_view name) {
    return platform::namesFollowWindowsRules() ? checkWindowsFileName(name)
                                               : checkPosixFileName(name);
}

bool fitsPlatformFileName(std::string_view name) {
    return checkPlatformFileName(name).fault == NameFault::None;
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
