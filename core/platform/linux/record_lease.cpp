#include "platform/record_lease.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <time.h>
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

// A process in another process namespace (a container, a sandbox) is not
// visible in this one's /proc: the namespace belongs to the boot a lease names.
std::string bootAndNamespace() {
    std::string boot = firstLineOf("/proc/sys/kernel/random/boot_id");
    char name[64] = {};
    const ssize_t size = ::readlink("/proc/self/ns/pid", name, sizeof name - 1);
    if (size > 0)
        boot += " " + std::string(name, static_cast<std::size_t>(size));
    return boot;
}

} // namespace

ProcessFacts thisProcess() {
    ProcessFacts facts;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        facts.host = host;
    facts.boot = bootAndNamespace();
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

std::chrono::nanoseconds timeSinceBoot() {
    struct timespec now {};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

} // namespace velmorandi::platform
