#include "main/time_left.h"

#include <QLocale>

#include <cmath>

namespace velmorandi {
namespace {

// Before this, the rate says little; below the second, nobody waits for a figure.
constexpr std::chrono::milliseconds kYoungest{2000};
constexpr double kFewSeconds = 5.0;

} // namespace

QString timeLeftText(std::chrono::milliseconds elapsed, std::size_t done, std::size_t total) {
    if (elapsed < kYoungest || done == 0 || done >= total)
        return {};
    const double seconds =
        static_cast<double>(elapsed.count()) / 1000.0 * static_cast<double>(total - done) / done;
    if (seconds < kFewSeconds)
        return {};
    const QLocale locale;
    // Rounded as a person would say it: to five seconds, then to whole minutes.
    if (seconds < 55.0)
        return QStringLiteral("About %1 seconds left")
            .arg(locale.toString(static_cast<int>(std::ceil(seconds / 5.0) * 5)));
    const int minutes = static_cast<int>(std::lround(seconds / 60.0));
    if (minutes <= 1)
        return QStringLiteral("About a minute left");
    return QStringLiteral("About %1 minutes left").arg(locale.toString(minutes));
}

} // namespace velmorandi
