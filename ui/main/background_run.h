#pragma once

#include "main/time_left.h"

#include "run/run.h"
#include "run/run_testing.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

class QWidget;

namespace velmorandi {

class frmProgress;

// Runs one piece of disk work on a thread of its own and returns its result
// when it is done. Meanwhile the window's events go on, so it paints and can
// be dragged; a progress window shows when the work takes longer than a
// glance. Holding back the user's input is the caller's part.
class BackgroundRun : public QObject, private RunObserver {
    Q_OBJECT
  public:
    // Restoring: recovery at start-up, which runs to its end; only a rename or
    // an undo can be cancelled.
    enum class Kind { Renaming, Undoing, Restoring, Reading };

    // Every run keeps its records in `records`, which outlives this.
    BackgroundRun(QWidget* mainWindow, const JournalStore& records);
    ~BackgroundRun() override;

    // work(control) -> result; must not throw (the core reports errors as values).
    // files: how many files the run moves, when known, for the progress text.
    template <class Work> auto run(Kind kind, Work&& work, std::size_t files = 0) {
        using Result = std::invoke_result_t<Work&, const RunControl&>;
        std::optional<Result> result;
        m_files = files;
        runOnWorker(kind, [&](const RunControl& control) { result.emplace(work(control)); });
        return std::move(*result);
    }

    bool isRunning() const { return m_running; }
    // Asks the work to stop after its current step; it then rolls back, and
    // the progress counts the names still to put back.
    void cancel();
    // Tests slow down or fail the disk calls of every run through this.
    void setTesting(RunTesting testing) { m_testing = std::move(testing); }

  private:
    void runOnWorker(Kind kind, const std::function<void(const RunControl&)>& work);
    void showProgress(Kind kind);
    void showTimeLeft(std::size_t done, std::size_t total);
    void showCancelling();
    void restoringFolder(const std::string& folder) override;
    void stepsDone(std::size_t done, std::size_t total) override;
    void rollbackStepsDone(std::size_t done, std::size_t total) override;
    void rollbackFilesChecked(std::size_t done, std::size_t total) override;

    QWidget* m_mainWindow;
    frmProgress* m_progress = nullptr;
    bool m_running = false;
    Kind m_kind = Kind::Renaming;
    std::atomic<bool> m_cancel{false};
    std::atomic<std::size_t> m_done{0};
    std::atomic<std::size_t> m_total{0};
    // The rollback of a cancelled run, once it has made its first step.
    std::atomic<std::size_t> m_putBack{0};
    std::atomic<std::size_t> m_toPutBack{0};
    // Before that, the rollback finds the run's files.
    std::atomic<std::size_t> m_checked{0};
    std::atomic<std::size_t> m_toCheck{0};
    std::size_t m_files = 0;
    TimeLeft m_timeLeft;
    std::mutex m_folderMutex;
    std::string m_restoringFolder; // written by the run's thread
    const JournalStore& m_records;
    RunTesting m_testing;
};

} // namespace velmorandi
