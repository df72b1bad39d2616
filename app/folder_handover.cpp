#include "folder_handover.h"

#include "platform/path_text.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <optional>

namespace velmorandi {

namespace {

// "VELMORANDI-OPEN 1", a line break, then the folder and the file, each
// ended by a null byte, which no path holds. The answer is one line.
const QByteArray kRequestStart = QByteArrayLiteral("VELMORANDI-OPEN 1\n");
const QByteArray kOpened = QByteArrayLiteral("opened\n");
const QByteArray kWhenFree = QByteArrayLiteral("when-free\n");
const QByteArray kBusy = QByteArrayLiteral("busy\n");
// Two paths of the longest kind, and more than any real one.
constexpr qsizetype kLongestRequest = 64 * 1024;
constexpr int kConnectMs = 2000;
constexpr int kAnswerMs = 5000;

QByteArray requestFor(const std::string& folder, const std::string& file) {
    QByteArray request = kRequestStart;
    request.append(folder.data(), static_cast<qsizetype>(folder.size())).append('\0');
    request.append(file.data(), static_cast<qsizetype>(file.size())).append('\0');
    return request;
}

struct Request {
    std::string folder;
    std::string file;
};

// Nothing until the request is whole; a request from anything else than a
// second start ends as an empty folder.
std::optional<Request> parseRequest(const QByteArray& bytes) {
    if (bytes.size() < kRequestStart.size() && kRequestStart.startsWith(bytes))
        return std::nullopt;
    if (!bytes.startsWith(kRequestStart))
        return Request{};
    const qsizetype folderEnd = bytes.indexOf('\0', kRequestStart.size());
    const qsizetype fileEnd = folderEnd < 0 ? -1 : bytes.indexOf('\0', folderEnd + 1);
    if (fileEnd < 0)
        return std::nullopt;
    Request request;
    request.folder =
        bytes.mid(kRequestStart.size(), folderEnd - kRequestStart.size()).toStdString();
    request.file = bytes.mid(folderEnd + 1, fileEnd - folderEnd - 1).toStdString();
    return request;
}

bool isAbsoluteFolder(const std::string& folder) {
    return !folder.empty() && platform::fileSystemPath(folder).is_absolute();
}

} // namespace

HandoverAnswer handFolderOver(const QString& lockFolder, const std::string& folder,
                              const std::string& file) {
    const QString address = handoverAddress(lockFolder);
    if (address.isEmpty())
        return HandoverAnswer::Refused;
    QLocalSocket socket;
    socket.connectToServer(address);
    if (!socket.waitForConnected(kConnectMs))
        return HandoverAnswer::Refused;
    socket.write(requestFor(folder, file));
    if (!socket.waitForBytesWritten(kAnswerMs))
        return HandoverAnswer::Refused;
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < kWhenFree.size() &&
           socket.waitForReadyRead(kAnswerMs))
        answer += socket.readAll();
    if (answer == kOpened)
        return HandoverAnswer::Opened;
    return answer == kWhenFree ? HandoverAnswer::WhenFree : HandoverAnswer::Refused;
}

FolderHandover::FolderHandover(const QString& lockFolder, Open open, QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_open(std::move(open)) {
    const QString address = handoverAddress(lockFolder);
    if (address.isEmpty())
        return;
    admitTheUserAlone(*m_server);
    // Whoever holds the lock is the only one to listen: a socket left there
    // is a crashed instance's.
    QLocalServer::removeServer(address);
    if (!m_server->listen(address))
        return;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readRequest(socket); });
            // A caller that never finishes its request is not waited for.
            QTimer::singleShot(kAnswerMs, socket, [socket] { socket->abort(); });
        }
    });
}

bool FolderHandover::isListening() const {
    return m_server->isListening();
}

void FolderHandover::readRequest(QLocalSocket* socket) {
    if (socket->bytesAvailable() > kLongestRequest) {
        socket->abort();
        return;
    }
    const QByteArray bytes = socket->peek(socket->bytesAvailable());
    const std::optional<Request> request = parseRequest(bytes);
    if (!request)
        return;
    socket->readAll();
    const HandoverAnswer answer = isAbsoluteFolder(request->folder)
                                      ? m_open(request->folder, request->file)
                                      : HandoverAnswer::Refused;
    socket->write(answer == HandoverAnswer::Opened     ? kOpened
                  : answer == HandoverAnswer::WhenFree ? kWhenFree
                                                       : kBusy);
    socket->disconnectFromServer();
}

} // namespace velmorandi
