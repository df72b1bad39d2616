// velmorandi_delay_proxy PORT_FILE TARGET_PORT DELAY_MICROSECONDS
//
// A TCP relay on 127.0.0.1 that holds every piece of data for a fixed time in
// each direction before passing it on, as a network link does: pieces keep
// their order and many can be on the way at once, so a client that does not
// wait for each answer is not slowed down more than a real link would. It
// listens on a free port and writes that port's number to PORT_FILE.
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Piece {
    Clock::time_point due;
    std::vector<char> bytes; // empty: the sender has finished
};

class DelayLine {
  public:
    void push(Piece piece) {
        {
            std::lock_guard lock(m_mutex);
            m_pieces.push_back(std::move(piece));
        }
        m_ready.notify_one();
    }
    Piece pop() {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return !m_pieces.empty(); });
        Piece piece = std::move(m_pieces.front());
        m_pieces.pop_front();
        return piece;
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<Piece> m_pieces;
};

bool writeAll(int fd, const std::vector<char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// One direction of a connection: what `from` sends reaches `to` `delay` later.
void carry(int from, int to, std::chrono::microseconds delay) {
    DelayLine line;
    std::thread deliverer([&] {
        for (;;) {
            Piece piece = line.pop();
            std::this_thread::sleep_until(piece.due);
            if (piece.bytes.empty()) {
                ::shutdown(to, SHUT_WR);
                return;
            }
            if (!writeAll(to, piece.bytes)) {
                ::shutdown(from, SHUT_RD); // ends the reading side below
                while (!line.pop().bytes.empty()) {
                }
                return;
            }
        }
    });
    std::vector<char> buffer(65536);
    for (;;) {
        const ssize_t got = ::recv(from, buffer.data(), buffer.size(), 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            line.push({Clock::now() + delay, {}});
            break;
        }
        line.push({Clock::now() + delay, std::vector<char>(buffer.begin(), buffer.begin() + got)});
    }
    deliverer.join();
}

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

void sendAtOnce(int socket) {
    const int on = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

int connectTo(int port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(port);
    if (socket < 0 ||
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (socket >= 0)
            ::close(socket);
        return -1;
    }
    sendAtOnce(socket);
    return socket;
}

void relay(int client, int targetPort, std::chrono::microseconds delay) {
    const int server = connectTo(targetPort);
    if (server < 0) {
        ::close(client);
        return;
    }
    sendAtOnce(client);
    std::thread upstream([=] { carry(client, server, delay); });
    carry(server, client, delay);
    upstream.join();
    ::close(client);
    ::close(server);
}

// Written aside and renamed, so a reader never sees half a number.
bool publishPort(int listener, const std::string& portFile) {
    sockaddr_in bound{};
    socklen_t size = sizeof bound;
    if (::getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &size) != 0)
        return false;
    const std::string aside = portFile + ".new";
    std::FILE* file = std::fopen(aside.c_str(), "w");
    if (!file)
        return false;
    std::fprintf(file, "%d\n", ntohs(bound.sin_port));
    return std::fclose(file) == 0 && std::rename(aside.c_str(), portFile.c_str()) == 0;
}

int listenOnFreePort() {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(0);
    if (listener < 0 ||
        ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 16) != 0)
        return -1;
    return listener;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PORT_FILE TARGET_PORT DELAY_MICROSECONDS\n", argv[0]);
        return 2;
    }
    const int targetPort = std::atoi(argv[2]);
    const std::chrono::microseconds delay(std::atol(argv[3]));
    ::prctl(PR_SET_TIMERSLACK, 1UL); // wake on time, not up to 50 µs late
    const int listener = listenOnFreePort();
    if (listener < 0 || !publishPort(listener, argv[1])) {
        std::perror("delay proxy");
        return 1;
    }
    for (;;) {
        const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR)
                continue;
            std::perror("accept");
            return 1;
        }
        std::thread(relay, client, targetPort, delay).detach();
    }
}
