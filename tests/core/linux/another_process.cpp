#include "another_process.h"

#include <sys/wait.h>
#include <unistd.h>

namespace velmorandi::testing {

bool succeedsInAnotherProcess(const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0)
        ::_exit(work() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace velmorandi::testing
