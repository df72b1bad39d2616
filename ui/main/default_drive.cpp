#include "main/default_drive.h"

namespace velmorandi {

namespace {

// Only an entry that is exactly the letter and the colon is a floppy drive;
// "a: [label]" is not.
bool isFloppy(const QString& entry) {
    const QString upper = entry.toUpper();
    return upper == QLatin1String("A:") || upper == QLatin1String("B:");
}

} // namespace

std::optional<int> defaultDriveIndex(const QStringList& entries) {
    if (entries.isEmpty())
        return std::nullopt;
    int candidate = isFloppy(entries.at(0)) ? 1 : 0;
    if (candidate < entries.size() && isFloppy(entries.at(candidate)))
        ++candidate;
    if (candidate >= entries.size())
        return std::nullopt;
    return candidate;
}

} // namespace velmorandi
