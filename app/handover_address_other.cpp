// A socket file in the lock folder, which only the user may enter.
#include "folder_handover.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>

#include <sys/un.h>

namespace velmorandi {

QString handoverAddress(const QString& lockFolder) {
    if (lockFolder.isEmpty())
        return {};
    const QString path = QDir(lockFolder).filePath(QStringLiteral("velmorandi.socket"));
    if (QFile::encodeName(path).size() >= static_cast<qsizetype>(sizeof(sockaddr_un::sun_path)))
        return {};
    return path;
}

// The private folder keeps others out.
void admitTheUserAlone(QLocalServer&) {}

} // namespace velmorandi
