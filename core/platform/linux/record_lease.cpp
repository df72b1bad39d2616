#include "platform/record_lease.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace velmorandi::platform {
namespace {

// Field 22 of /proc/<pid>/stat: when the process began, in clock ticks since
// the boot; 0 for a process that has ended, even if not yet reaped (state Z).
// The name in field 2 may hold spaces and parentheses: the fields are
// counted from its last ")".
std::uint64_t startOf(const std::string& process) {
    std::ifstream file("/proc/" + process + "/stat");
    std::string line;
    std::getline(file, line);
    const std::size_t nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos || line.compare(nameEnd, 4, ") Z ") == 0 ||
        line.compare(nameEnd, 4, ") X ") == 0)
        return 0;
    std::size_t at = nameEnd + 1;
    for (int field = 3; field < 22 && at != std::string::npos; ++field)
        at = line.find(' ', at + 1);
    return at == std::string::npos ? 0 : std::strtoull(line.c_str() + at + 1, nullptr, 10);
}

std::string firstLineOf(const char* path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

} // namespace

ProcessFacts thisProcess() {
    ProcessFacts facts;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        facts.host = host;
    facts.boot = firstLineOf("/proc/sys/kernel/random/boot_id");
    facts.process = thisProcessId();
    facts.started = startOf("self");
    return facts;
}

std::uint64_t thisProcessId() {
    return static_cast<std::uint64_t>(::getpid());
}

bool isRunning(std::uint64_t process, std::uint64_t started) {
    return started != 0 && startOf(std::to_string(process)) == started;
}

} // namespace velmorandi::platform
