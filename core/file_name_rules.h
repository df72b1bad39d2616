#pragma once

#include "platform/name_limit.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmorandi {

// Why a file name cannot be given: the first rule it breaks.
enum class NameFault : std::uint8_t {
    None,
    Empty,
    LeadingDot,         // the program's own rule, not a system's
    ReservedDevice,     // Windows keeps it for a device, with any extension
    EndsInDot,          // Windows would strip the dot
    EndsInSpace,        // Windows would strip the space
    ForbiddenCharacter, // a byte the system never holds in a name
    TooLong,
};

// What the user has to change: the rule, and the byte or device that breaks it.
struct NameCheck {
    NameFault fault = NameFault::None;
    char character = 0; // ForbiddenCharacter
    std::string device; // ReservedDevice, as Windows spells it: "COM1"

    NameCheck() = default;
    NameCheck(NameFault rule) : fault(rule) {} // NOLINT: most rules need nothing more
    static NameCheck forbiddenCharacter(char c);
    static NameCheck reservedDevice(std::string name);
    bool operator==(const NameCheck&) const = default;
};

// What each operating system accepts as one file name inside a folder. Only
// Windows limits the length everywhere; elsewhere it is the folder's file system.
NameCheck checkPosixFileName(std::string_view name);
NameCheck checkWindowsFileName(std::string_view name);
bool fitsPosixFileName(std::string_view name);
bool fitsWindowsFileName(std::string_view name);

// The rule of the system this program was built for (platform::namesFollowWindowsRules).
NameCheck checkPlatformFileName(std::string_view name);
bool fitsPlatformFileName(std::string_view name);

// Length of the name in the unit; UTF-16 units are counted from the UTF-8 bytes.
std::size_t nameLength(std::string_view name, NameUnit unit);
bool fitsNameLimit(std::string_view name, NameLimit limit);

} // namespace velmorandi
