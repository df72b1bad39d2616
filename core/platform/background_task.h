#pragma once

#include <functional>
#include <system_error>
#include <thread>
#include <utility>

namespace velmorandi::platform {

// Work for the other core: on a thread of its own where one can be had. Where
// none can, start() says so and wait() does the work itself, so that the
// caller needs no second way of doing it. Joined before it goes away.
class BackgroundTask {
  public:
    BackgroundTask() = default;
    ~BackgroundTask() { join(); }
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // False where no thread could be had: the work waits for wait().
    bool start(std::function<void()> work) {
        m_work = std::move(work);
        try {
            m_thread = std::thread(m_work);
            m_work = nullptr;
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }
    // The work is done when this returns.
    void wait() {
        if (m_thread.joinable())
            m_thread.join();
        else if (m_work)
            std::exchange(m_work, nullptr)();
    }
    // Waits for a started thread; work that never started is dropped.
    void join() {
        if (m_thread.joinable())
            m_thread.join();
        m_work = nullptr;
    }

  private:
    std::function<void()> m_work;
    std::thread m_thread;
};

} // namespace velmorandi::platform
