#include "single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace velmorandi {

namespace {

QString lockFilePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(folder).filePath(QStringLiteral("velmorandi.lock"));
}

} // namespace

SingleInstance::SingleInstance() : m_lock(lockFilePath()) {
    // The lock lives as long as the program; only a dead holder makes it stale, never its age.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    if (m_lock.tryLock(0))
        return true;
    return m_lock.error() != QLockFile::LockFailedError;
}

} // namespace velmorandi
