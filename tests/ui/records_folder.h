#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

namespace velmorandi::test {

// Where the program keeps its records of runs and its single-instance lock:
// $XDG_STATE_HOME/velmorandi, or %LOCALAPPDATA%\Velmorandi on Windows.
#ifdef Q_OS_WIN
inline constexpr char kRecordsVariable[] = "LOCALAPPDATA";
inline constexpr char kRecordsFolderName[] = "Velmorandi";
#else
inline constexpr char kRecordsVariable[] = "XDG_STATE_HOME";
inline constexpr char kRecordsFolderName[] = "velmorandi";
#endif

// From now on this process and its children keep their records under base.
inline void keepRecordsUnder(const QString& base) {
    qputenv(kRecordsVariable, QFile::encodeName(QDir::toNativeSeparators(base)));
}

inline QString recordsFolderUnder(const QString& base) {
    return QDir(base).filePath(QLatin1String(kRecordsFolderName));
}

} // namespace velmorandi::test
