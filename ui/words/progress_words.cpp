#include "words/progress_words.h"

#include <QCoreApplication>
#include <QLocale>

namespace velmorandi::words {

namespace {

class Progress {
    Q_DECLARE_TR_FUNCTIONS(Progress)
};

QString count(std::size_t number) {
    return QLocale().toString(static_cast<qulonglong>(number));
}

} // namespace

QString readingFolder() {
    return Progress::tr("Reading the folder...");
}

QString preparingToRename() {
    return Progress::tr("Preparing to rename...");
}

QString preparingToRestore() {
    return Progress::tr("Preparing to restore names...");
}

QString renaming(std::size_t done, std::size_t files) {
    return Progress::tr("Renaming %1 of %2 files").arg(count(done), count(files));
}

QString restoring(std::size_t done, std::size_t names) {
    return Progress::tr("Restoring %1 of %2 names").arg(count(done), count(names));
}

QString restoringIn(const QString& folder) {
    return Progress::tr("Restoring names in %1\u2026").arg(folder);
}

QString cancelling(std::size_t toPutBack) {
    if (toPutBack == 0)
        return Progress::tr("Cancelling\u2026");
    if (toPutBack == 1)
        return Progress::tr("Cancelling\u2026 1 name to put back");
    return Progress::tr("Cancelling\u2026 %1 names to put back").arg(count(toPutBack));
}

QString secondsLeft(int seconds) {
    return Progress::tr("About %1 seconds left").arg(QLocale().toString(seconds));
}

QString minutesLeft(long long minutes) {
    if (minutes <= 1)
        return Progress::tr("About a minute left");
    return Progress::tr("About %1 minutes left").arg(QLocale().toString(minutes));
}

} // namespace velmorandi::words
