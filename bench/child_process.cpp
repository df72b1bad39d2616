#include "bench.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace velmorandi::bench {

double statusMegabytes(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    double kilobytes = 0;
    while (status && std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, std::strlen(field)) == 0)
            kilobytes = std::atof(line + std::strlen(field));
    if (status)
        std::fclose(status);
    return kilobytes / 1024.0;
}

std::optional<std::string> childOutput(const char* measure, const std::string& folder,
                                       const std::vector<std::string>& wrapper) {
    // /proc/self/exe would name the wrapper once it runs: the path is read now.
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return std::nullopt;
    self[length] = '\0';
    std::vector<std::string> words = wrapper;
    for (const char* word : {static_cast<const char*>(self), "--child", measure, folder.c_str()})
        words.emplace_back(word);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::execvp(argv[0], argv.data());
        std::_Exit(127);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char piece[256];
    for (ssize_t got; (got = ::read(pipeEnds[0], piece, sizeof piece)) > 0;)
        text.append(piece, static_cast<std::size_t>(got));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

} // namespace velmorandi::bench
