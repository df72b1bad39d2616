#pragma once

#include <condition_variable>
#include <mutex>

namespace velmorandi {

// A yes or no given once by one thread and waited for by another; answers
// after the first are ignored.
class OneTimeAnswer {
  public:
    void give(bool answer) {
        {
            const std::lock_guard lock(m_mutex);
            if (m_given)
                return;
            m_given = true;
            m_answer = answer;
        }
        m_changed.notify_all();
    }
    bool await() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_given; });
        return m_answer;
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_given = false;
    bool m_answer = false;
};

} // namespace velmorandi
