#include "main/time_left.h"

#include "words/progress_words.h"

#include <cmath>
#include <limits>

namespace velmorandi {
namespace {

using namespace std::chrono_literals;

constexpr auto kWindow = 20s;
constexpr auto kWorthTelling = 10s;
constexpr auto kRecent = 5s;
// Samples closer than this add nothing to a pace measured over seconds.
constexpr auto kSampleEvery = 200ms;
// The last seconds' pace within a quarter of the whole window's counts as steady.
constexpr double kSteadyBand = 1.25;
constexpr double kGrowthPerWindow = 1.5;
constexpr auto kGrowthWindow = 10s;
constexpr double kFewSeconds = 5.0;

} // namespace

double TimeLeft::rateSince(const Sample& from, const Sample& to) {
    const double seconds = Seconds(to.at - from.at).count();
    return seconds > 0 ? static_cast<double>(to.done - from.done) / seconds : 0.0;
}

bool TimeLeft::steady(const Sample& latest) const {
    const double whole = rateSince(m_samples.front(), latest);
    auto recent = m_samples.begin();
    while (recent != m_samples.end() && latest.at - recent->at > kRecent)
        ++recent;
    const double lately = recent == m_samples.end() ? 0.0 : rateSince(*recent, latest);
    return whole > 0 && lately >= whole / kSteadyBand && lately <= whole * kSteadyBand;
}

std::optional<TimeLeft::Seconds> TimeLeft::update(Clock::time_point now, std::size_t done,
                                                  std::size_t total) {
    // Nothing made yet (the journal's sync says nothing of the steps' pace), or
    // counting again from the start: the pace so far is no guide.
    if (done == 0 || done >= total || (!m_samples.empty() && done < m_samples.back().done)) {
        *this = {};
        return std::nullopt;
    }
    const Sample latest{now, done};
    if (m_samples.empty() || now - m_samples.back().at >= kSampleEvery)
        m_samples.push_back(latest);
    while (now - m_samples.front().at > kWindow)
        m_samples.pop_front();
    if (!m_shown && (now - m_samples.front().at < kWorthTelling || !steady(latest)))
        return std::nullopt;

    const double rate = rateSince(m_samples.front(), latest);
    const Seconds target(rate > 0 ? static_cast<double>(total - done) / rate
                                  : std::numeric_limits<double>::infinity());
    if (m_shown) {
        const Seconds since = now - m_shownAt;
        // Counted down to nothing while the run goes on: it may grow again from a few seconds.
        const Seconds countedDown = std::max(*m_shown - since, Seconds(kFewSeconds));
        const double mayGrow = std::pow(kGrowthPerWindow, since / Seconds(kGrowthWindow));
        m_shown = std::min(target, countedDown * mayGrow);
    } else {
        m_shown = target;
    }
    m_shownAt = now;
    return m_shown;
}

QString timeLeftText(std::optional<TimeLeft::Seconds> left) {
    if (!left || left->count() < kFewSeconds)
        return {};
    const double seconds = left->count();
    // Rounded as a person would say it: to five seconds, then to whole minutes.
    if (seconds < 55.0)
        return words::secondsLeft(static_cast<int>(std::ceil(seconds / 5.0) * 5));
    return words::minutesLeft(std::llround(seconds / 60.0));
}

} // namespace velmorandi
