// Windows has no socket files: the hand-over goes over a named pipe, named
// after the lock folder and open to this user alone.
#include "folder_handover.h"

#include <QCryptographicHash>
#include <QLocalServer>

namespace velmorandi {

QString handoverAddress(const QString& lockFolder) {
    if (lockFolder.isEmpty())
        return {};
    return QStringLiteral("velmorandi-") +
           QString::fromLatin1(
               QCryptographicHash::hash(lockFolder.toUtf8(), QCryptographicHash::Sha256)
                   .toHex()
                   .left(32));
}

void admitTheUserAlone(QLocalServer& server) {
    server.setSocketOptions(QLocalServer::UserAccessOption);
}

} // namespace velmorandi
