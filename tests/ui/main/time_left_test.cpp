#include "main/time_left.h"

#include <QLocale>
#include <QTest>

#include <functional>
#include <vector>

using namespace std::chrono_literals;
using velmorandi::TimeLeft;
using velmorandi::timeLeftText;

namespace {

struct Shown {
    double at;   // seconds into the run
    double left; // what the user was told, in seconds
    double truth;
};

// A run of `total` steps at `pace(t)` steps a second, looked at every 50 ms as the
// progress window does, on a clock of its own: what it was told, and when.
std::vector<Shown> watch(std::size_t total, const std::function<double(double)>& pace,
                         double ends) {
    TimeLeft timeLeft;
    const TimeLeft::Clock::time_point start;
    std::vector<double> done{0.0};
    const double look = 0.05;
    for (double t = look; t < ends; t += look)
        done.push_back(done.back() + pace(t) * look);
    // The truth, found afterwards: when the last step was made.
    std::size_t last = 1;
    while (last < done.size() && done[last] < static_cast<double>(total))
        ++last;
    std::vector<Shown> shown;
    for (std::size_t i = 1; i < last; ++i) {
        const double at = static_cast<double>(i) * look;
        const auto left = timeLeft.update(
            start + std::chrono::duration_cast<TimeLeft::Clock::duration>(TimeLeft::Seconds(at)),
            static_cast<std::size_t>(done[i]), total);
        if (left)
            shown.push_back({at, left->count(), static_cast<double>(last) * look - at});
    }
    return shown;
}

} // namespace

class TimeLeftTest : public QObject {
    Q_OBJECT
  private slots:
    void saidAsAPersonWouldSayIt() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(timeLeftText(std::nullopt), QString());
        QCOMPARE(timeLeftText(4s), QString());
        QCOMPARE(timeLeftText(27s), QStringLiteral("About 30 seconds left"));
        QCOMPARE(timeLeftText(70s), QStringLiteral("About a minute left"));
        QCOMPARE(timeLeftText(990s), QStringLiteral("About 17 minutes left"));
        QCOMPARE(timeLeftText(2000000s), QStringLiteral("About 33,333 minutes left"));
    }

    // Runs whose pace changes, as the disk's cache, a slower part of the drive or a
    // network mount change it: nothing until the pace holds, then close to the truth,
    // and never a jump upwards.
    void toldFromTheRecentPaceOnceItHolds() {
        struct Run {
            const char* name;
            std::size_t total;
            std::function<double(double)> pace;
        };
        const Run runs[] = {
            // An undo: fast from the cache for 3 s, then a tenth of that.
            {"undo", 100000, [](double t) { return t < 3 ? 4000.0 : 400.0; }},
            // A rename that halves its pace after two minutes.
            {"slowing", 100000, [](double t) { return t < 120 ? 200.0 : 100.0; }},
            // A network drive: a second's stall every 15 s.
            {"stalls", 20000, [](double t) { return std::fmod(t, 15.0) < 1.0 ? 0.0 : 80.0; }},
        };
        for (const Run& run : runs) {
            const std::vector<Shown> shown = watch(run.total, run.pace, 3600);
            QVERIFY2(!shown.empty(), run.name);
            QVERIFY2(shown.front().at >= 10.0, run.name);
            for (std::size_t i = 0; i < shown.size(); ++i) {
                // At most half more than what was shown 10 s before, counted down since.
                for (std::size_t j = i; j > 0 && shown[i].at - shown[j - 1].at <= 10.0; --j) {
                    const Shown& before = shown[j - 1];
                    const double countedDown =
                        std::max(before.left - (shown[i].at - before.at), 5.0);
                    if (shown[i].left > countedDown * 1.5 + 1e-6)
                        QFAIL(qPrintable(
                            QStringLiteral("%1 grew at %2 s").arg(run.name).arg(shown[i].at)));
                }
                // Once the pace has held for 30 s, within a quarter of the truth.
                const bool settled = shown[i].at > shown.front().at + 30 &&
                                     (std::string_view(run.name) != "slowing" || shown[i].at > 160);
                if (settled && shown[i].truth > 30)
                    QVERIFY2(std::abs(shown[i].left - shown[i].truth) <= shown[i].truth / 4,
                             qPrintable(QStringLiteral("%1 at %2 s: %3 for %4")
                                            .arg(run.name)
                                            .arg(shown[i].at)
                                            .arg(shown[i].left)
                                            .arg(shown[i].truth)));
            }
            // The undo's first seconds are no guide: nothing is told before its pace holds.
            if (std::string_view(run.name) == "undo")
                QVERIFY(std::abs(shown.front().left - shown.front().truth) <=
                        shown.front().truth / 4);
        }
    }
};

QTEST_MAIN(TimeLeftTest)
#include "time_left_test.moc"
