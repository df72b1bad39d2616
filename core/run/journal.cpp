#include "run/journal.h"

#include "platform/folder_access.h"

#include <algorithm>
#include <random>

namespace velmorandi {

namespace {

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Longer than any file system holds: 255 UTF-16 units take at most 765 bytes.
constexpr std::size_t kLongestName = 1024;

} // namespace

RunMark newRunMark() {
    std::random_device random;
    RunMark mark;
    for (std::size_t i = 0; i < mark.size(); i += 4) {
        const unsigned word = random();
        for (std::size_t k = 0; k < 4; ++k)
            mark[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
    }
    return mark;
}

JournalHeader headerOf(const Journal& journal) {
    return {journal.kind,           journal.folder, journal.subject,
            journal.folderIdentity, journal.volume, journal.traits};
}

bool isRecordName(std::string_view name) {
    constexpr std::string_view kStart = "run-";
    constexpr std::string_view kEnd = ".journal";
    if (!name.starts_with(kStart) || !name.ends_with(kEnd))
        return false;
    name.remove_prefix(kStart.size());
    name.remove_suffix(kEnd.size());
    return name.size() == 20 + 1 + 6 && name[20] == '-' && allDigits(name.substr(0, 20)) &&
           allDigits(name.substr(21));
}

bool isPlainName(std::string_view name) {
    if (name.empty() || name.size() > kLongestName || name == "." || name == "..")
        return false;
    // Windows also reads a colon as the start of a stream or a drive.
    const bool colonSeparates = platform::pathSeparator() == '\\';
    return std::none_of(name.begin(), name.end(), [colonSeparates](char c) {
        return c == '\0' || platform::isPathSeparator(c) || (colonSeparates && c == ':');
    });
}

} // namespace velmorandi
