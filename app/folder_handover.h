#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace velmorandi {

// Where a second start finds the running instance: a local socket beside the
// single-instance lock, so it follows the lock wherever that lives. Empty
// when there is no lock folder, or its path is too long for a socket.
QString handoverAddress(const QString& lockFolder);

// What the running instance did with a folder handed over.
enum class HandoverAnswer {
    Opened,   // opened at once
    WhenFree, // opens as soon as its run or its message is over
    Refused   // not reached, no answer, or closing
};

// Where the address is not a file in a private folder (a pipe on Windows), the
// server lets only this user connect.
void admitTheUserAlone(QLocalServer& server);

// A second start's side: hands the folder (and the file whose row to make
// current) to the instance running in lockFolder.
HandoverAnswer handFolderOver(const QString& lockFolder, const std::string& folder,
                              const std::string& file);

// The running instance's side: listens beside the lock it holds and passes
// each folder it is handed to `open`, which says what it did with it.
class FolderHandover : public QObject {
    Q_OBJECT
  public:
    using Open = std::function<HandoverAnswer(const std::string& folder, const std::string& file)>;
    FolderHandover(const QString& lockFolder, Open open, QObject* parent = nullptr);

    bool isListening() const;

  private:
    void readRequest(QLocalSocket* socket);

    QLocalServer* m_server;
    Open m_open;
};

} // namespace velmorandi
