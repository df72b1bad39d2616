#pragma once

#include <QString>

#include <cstddef>

// What the progress window says while the disk works; counts as the user's locale writes them.
namespace velmorandi::words {

QString readingFolder();
QString preparingToRename();
QString preparingToRestore();
QString renaming(std::size_t done, std::size_t files);
// Undo and recovery give files their old names back.
QString restoring(std::size_t done, std::size_t names);
// Recovery at start-up, before it knows how many names it puts back.
QString restoringIn(const QString& folder);
// A run being stopped, and the names still to put back, when known (0: not yet).
QString cancelling(std::size_t toPutBack = 0);
// Rounded as a person would say it, by the caller.
QString secondsLeft(int seconds);
QString minutesLeft(long long minutes);

} // namespace velmorandi::words
