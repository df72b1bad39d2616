#include "single_instance.h"

#include "platform/private_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <variant>

namespace velmorandi {
namespace {

const char kLockName[] = "velmorandi.lock";

QString fromBytes(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

SingleInstance::SingleInstance() {
    const auto location = platform::recordFolderLocation();
    const auto* path = std::get_if<std::string>(&location);
    if (path && !m_records.open(*path))
        return; // a folder of records that can be trusted holds the lock
    m_records = platform::RecordFolder();
    const std::optional<std::string> folder = platform::privateFolder();
    if (!folder)
        return;
    m_lock = std::make_unique<QLockFile>(QDir(fromBytes(*folder)).filePath(kLockName));
    // The lock lives as long as the program; only a dead holder makes it stale, never its age.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    if (m_records.isOpen())
        return acquireInRecords();
    if (!m_lock || m_lock->tryLock(0))
        return true;
    return m_lock->error() != QLockFile::LockFailedError;
}

// The system holds the lock for the process and lets it go when the process
// ends, however it ends: a lock left by a dead holder is no lock.
bool SingleInstance::acquireInRecords() {
    platform::RecordRefusal why = platform::RecordRefusal::None;
    SystemError error;
    for (int attempt = 0; attempt < 2; ++attempt) {
        switch (m_held.open(m_records, kLockName, true, why, error)) {
        case platform::RecordFile::Opened::Yes:
            return true;
        case platform::RecordFile::Opened::Held:
            return false;
        case platform::RecordFile::Opened::Gone:
            // Another start may make it first: then it is opened as theirs.
            if (!m_held.create(m_records, kLockName))
                return true;
            continue;
        case platform::RecordFile::Opened::Refused:
        case platform::RecordFile::Opened::Failed:
            return true;
        }
    }
    return true;
}

bool SingleInstance::holdsLock() const {
    return m_held.isOpen() || (m_lock && m_lock->isLocked());
}

QString SingleInstance::lockPath() const {
    if (m_records.isOpen())
        return fromBytes(m_records.pathOf(kLockName));
    return m_lock ? m_lock->fileName() : QString();
}

QString SingleInstance::folder() const {
    if (m_records.isOpen())
        return fromBytes(m_records.path());
    return m_lock ? QFileInfo(m_lock->fileName()).absolutePath() : QString();
}

} // namespace velmorandi
