#include "platform/record_lease.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

namespace velmorandi::platform {
namespace {

std::uint64_t creationOf(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// Windows names no boot: the minute it began stands for it, from the time
// now less the time since. Two readings a minute's edge apart may differ;
// a lease then counts as another machine's, and is watched rather than trusted.
std::string bootMinute() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const std::uint64_t time =
        (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const std::uint64_t up = static_cast<std::uint64_t>(::GetTickCount64()) * 10'000;
    return std::to_string((time - up) / 600'000'000);
}

} // namespace

ProcessFacts thisProcess() {
    ProcessFacts facts;
    wchar_t host[256] = {};
    DWORD size = 255;
    if (::GetComputerNameExW(ComputerNameDnsHostname, host, &size))
        facts.host = narrow(std::wstring_view(host, size));
    facts.boot = bootMinute();
    facts.process = thisProcessId();
    facts.started = creationOf(::GetCurrentProcess());
    return facts;
}

std::uint64_t thisProcessId() {
    return ::GetCurrentProcessId();
}

bool isRunning(std::uint64_t process, std::uint64_t started) {
    const FileHandle handle(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process)));
    DWORD code = 0;
    return handle.get() != nullptr && started != 0 && creationOf(handle.get()) == started &&
           ::GetExitCodeProcess(handle.get(), &code) && code == STILL_ACTIVE;
}

// Counts on while the machine sleeps.
std::chrono::nanoseconds timeSinceBoot() {
    return std::chrono::milliseconds(::GetTickCount64());
}

} // namespace velmorandi::platform
