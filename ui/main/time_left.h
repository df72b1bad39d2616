#pragma once

#include <QString>

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>

namespace velmorandi {

// How long a run still needs, told from its recent pace: the steps of the last
// 20 seconds. Nothing is told until 10 seconds of steps show a pace that holds
// (the last 5 seconds agree with the whole); from then on the figure counts
// down, follows a faster pace at once, and grows by at most half in 10 seconds
// when the run slows down or stalls.
class TimeLeft {
  public:
    using Clock = std::chrono::steady_clock;
    using Seconds = std::chrono::duration<double>;

    // `done` of `total` steps made by `now`; empty while there is nothing worth telling.
    std::optional<Seconds> update(Clock::time_point now, std::size_t done, std::size_t total);

  private:
    struct Sample {
        Clock::time_point at;
        std::size_t done;
    };
    static double rateSince(const Sample& from, const Sample& to);
    bool steady(const Sample& latest) const;

    std::deque<Sample> m_samples;
    std::optional<Seconds> m_shown;
    Clock::time_point m_shownAt;
};

// As a person would say it: to five seconds, then to whole minutes; empty
// without a figure or when the run will be over in a few seconds anyway.
QString timeLeftText(std::optional<TimeLeft::Seconds> left);

} // namespace velmorandi
