#include "platform/name_limit.h"

namespace velmorandi::platform {

// NTFS, exFAT and FAT long names alike hold 255 UTF-16 units.
NameLimit fileNameLimit(const std::string&) {
    return {255, NameUnit::Utf16};
}

} // namespace velmorandi::platform
