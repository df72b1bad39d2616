#pragma once

#include "run/run.h"

#include <csignal>
#include <cstddef>
#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmorandi::testing {

// A child process that runs `run` and, when it signals, waits to be killed or
// told to go on; the parent gets a pipe end to wait on and one to write to.
struct Child {
    pid_t pid = -1;
    int ready = -1;
    int go = -1;
};

inline Child startChild(const std::function<void(const std::function<void()>& pause)>& run) {
    int toParent[2];
    int toChild[2];
    if (::pipe(toParent) != 0 || ::pipe(toChild) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(toParent[0]);
        ::close(toChild[1]);
        run([&] {
            const char ready = 1;
            (void)!::write(toParent[1], &ready, 1);
            char go = 0;
            (void)!::read(toChild[0], &go, 1);
        });
        ::_exit(0);
    }
    ::close(toParent[1]);
    ::close(toChild[0]);
    return {child, toParent[0], toChild[1]};
}

inline bool waitUntilPaused(const Child& child) {
    char ready = 0;
    return ::read(child.ready, &ready, 1) == 1;
}

inline int endOf(Child& child, bool kill) {
    if (kill)
        ::kill(child.pid, SIGKILL);
    else
        (void)!::write(child.go, "g", 1);
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    ::close(child.ready);
    ::close(child.go);
    return status;
}

// Calls `reached` once the run has made `steps` steps, on the run's thread.
class PauseAfter : public RunObserver {
  public:
    PauseAfter(std::size_t steps, std::function<void()> reached)
        : m_steps(steps), m_reached(std::move(reached)) {}
    void stepsDone(std::size_t done, std::size_t) override {
        if (done == m_steps)
            m_reached();
    }

  private:
    std::size_t m_steps;
    std::function<void()> m_reached;
};

} // namespace velmorandi::testing
