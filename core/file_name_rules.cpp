#include "file_name_rules.h"

#include <array>
#include <cctype>

namespace velmorandi {

namespace {

constexpr std::size_t kPosixNameMax = 255;
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

bool isWindowsDeviceName(std::string_view name) {
    // "con.txt" and "con.tar.gz" name the device as much as "con" does.
    const auto stem = name.substr(0, name.find('.'));
    static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (auto device : plain) {
        if (equalsIgnoringAsciiCase(stem, device))
            return true;
    }
    if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9')
        return equalsIgnoringAsciiCase(stem.substr(0, 3), "COM") ||
               equalsIgnoringAsciiCase(stem.substr(0, 3), "LPT");
    return false;
}

} // namespace

bool fitsPosixFileName(std::string_view name) {
    return !name.empty() && name.size() <= kPosixNameMax &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool fitsWindowsFileName(std::string_view name) {
    if (name.empty())
        return false;
    for (unsigned char c : name) {
        if (c < 0x20 || kWindowsForbidden.find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return !isWindowsDeviceName(name);
}

} // namespace velmorandi
