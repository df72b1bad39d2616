#include "single_instance.h"

#include "platform/private_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace velmorandi {

SingleInstance::SingleInstance() {
    const std::optional<std::string> folder = platform::privateFolder();
    if (!folder)
        return;
    m_lock = std::make_unique<QLockFile>(QDir(QFile::decodeName(QByteArray::fromStdString(*folder)))
                                             .filePath(QStringLiteral("velmorandi.lock")));
    // The lock lives as long as the program; only a dead holder makes it stale, never its age.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    if (!m_lock || m_lock->tryLock(0))
        return true;
    return m_lock->error() != QLockFile::LockFailedError;
}

bool SingleInstance::holdsLock() const {
    return m_lock && m_lock->isLocked();
}

QString SingleInstance::lockPath() const {
    return m_lock ? m_lock->fileName() : QString();
}

QString SingleInstance::folder() const {
    return m_lock ? QFileInfo(m_lock->fileName()).absolutePath() : QString();
}

} // namespace velmorandi
