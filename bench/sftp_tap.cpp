// velmorandi_sftp_tap COUNTS_FILE SERVER [ARGUMENTS...]
//
// The rig's sshd runs this as its sftp subsystem. The SSH transport is
// encrypted on the wire, but here, inside sshd, the SFTP requests are plain:
// each is counted by packet type (extended requests by name) and passed on to
// the real SFTP server; replies go back untouched. Every request gets exactly
// one reply, so the count is the number of round trips the mount made.
#include "sftp_counts.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <span>
#include <string_view>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using velmorandi::bench::SftpCounts;

// Far above any packet an SFTP client sends; a longer frame means the stream
// is not what the tap thinks, and it stops counting rather than misread it.
constexpr std::uint32_t kLongestFrame = 16u << 20;

SftpCounts* mapCounts(const char* path) {
    const int file = ::open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0 || ::ftruncate(file, sizeof(SftpCounts)) != 0) {
        std::perror(path);
        return nullptr;
    }
    void* memory = ::mmap(nullptr, sizeof(SftpCounts), PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    ::close(file);
    return memory == MAP_FAILED ? nullptr : static_cast<SftpCounts*>(memory);
}

bool readExactly(int fd, unsigned char* into, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::read(fd, into, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        into += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool writeAll(int fd, const unsigned char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::uint32_t bigEndian32(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

void bump(std::uint64_t& counter) {
    std::atomic_ref<std::uint64_t>(counter).fetch_add(1, std::memory_order_relaxed);
}

// payload: type byte, then for an extended request: id, name length, name.
void countRequest(SftpCounts& counts, std::span<const unsigned char> payload) {
    if (payload.empty())
        return;
    bump(counts.byType[payload[0]]);
    if (payload[0] != velmorandi::bench::kSftpExtended || payload.size() < 9)
        return;
    const std::uint32_t nameLength = bigEndian32(&payload[5]);
    if (nameLength > payload.size() - 9)
        return;
    const std::string_view name(reinterpret_cast<const char*>(&payload[9]), nameLength);
    bump(counts.byExtension[velmorandi::bench::extensionSlot(name)]);
}

void copyRaw(int from, int to) {
    unsigned char piece[65536];
    for (ssize_t got; (got = ::read(from, piece, sizeof piece)) > 0;)
        if (!writeAll(to, piece, static_cast<std::size_t>(got)))
            return;
}

// Frames from the client, counted and passed on whole.
void relayRequests(int from, int to, SftpCounts& counts) {
    std::vector<unsigned char> frame;
    unsigned char header[4];
    while (readExactly(from, header, sizeof header)) {
        const std::uint32_t length = bigEndian32(header);
        if (length > kLongestFrame) {
            writeAll(to, header, sizeof header);
            copyRaw(from, to);
            return;
        }
        frame.assign(header, header + sizeof header);
        frame.resize(sizeof header + length);
        if (!readExactly(from, frame.data() + sizeof header, length))
            return;
        countRequest(counts, std::span(frame).subspan(sizeof header));
        if (!writeAll(to, frame.data(), frame.size()))
            return;
    }
}

pid_t startServer(char** command, int toServer[2], int fromServer[2]) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(toServer[0], STDIN_FILENO);
        ::dup2(fromServer[1], STDOUT_FILENO);
        for (int end : {toServer[0], toServer[1], fromServer[0], fromServer[1]})
            ::close(end);
        ::execv(command[0], command);
        std::perror(command[0]);
        std::_Exit(127);
    }
    ::close(toServer[0]);
    ::close(fromServer[1]);
    return child;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s COUNTS_FILE SERVER [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    SftpCounts* counts = mapCounts(argv[1]);
    int toServer[2];
    int fromServer[2];
    if (!counts || ::pipe2(toServer, O_CLOEXEC) != 0 || ::pipe2(fromServer, O_CLOEXEC) != 0)
        return 1;
    const pid_t server = startServer(argv + 2, toServer, fromServer);
    if (server < 0)
        return 1;
    std::thread replies([&] { copyRaw(fromServer[0], STDOUT_FILENO); });
    relayRequests(STDIN_FILENO, toServer[1], *counts);
    ::close(toServer[1]);
    int status = 0;
    ::waitpid(server, &status, 0);
    replies.join();
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
