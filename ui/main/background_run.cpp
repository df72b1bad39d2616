#include "main/background_run.h"

#include "shell/progress_window.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <thread>

namespace velmorandi {

namespace {

// Below this a run passes unseen; above it the user wants a sign of life.
constexpr int kProgressDelayMs = 300;
constexpr int kProgressRefreshMs = 50;

} // namespace

BackgroundRun::BackgroundRun(QWidget* mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow) {}

BackgroundRun::~BackgroundRun() = default;

void BackgroundRun::cancel() {
    if (m_running && m_kind == Kind::Renaming)
        m_cancel = true;
}

void BackgroundRun::runOnWorker(Kind kind, const std::function<void(const RunControl&)>& work) {
    m_running = true;
    m_kind = kind;
    m_cancel = false;
    m_done = 0;
    m_total = 0;
    RunControl control;
    control.progress = [this](std::size_t done, std::size_t total) {
        m_total = total;
        m_done = done;
    };
    control.cancel = &m_cancel;
    control.seam = m_seam;

    QEventLoop loop;
    QTimer refresh;
    refresh.setInterval(kProgressRefreshMs);
    connect(&refresh, &QTimer::timeout, this, [this, kind] { showProgress(kind); });
    QTimer::singleShot(kProgressDelayMs, &refresh, [&refresh, this, kind] {
        showProgress(kind);
        refresh.start();
    });

    std::atomic<bool> finished{false};
    std::thread worker([&] {
        work(control);
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // The quit may be posted before the loop starts; it is delivered all the same.
    while (!finished)
        loop.exec();
    worker.join();

    refresh.stop();
    if (m_progress != nullptr) {
        // Closed now: a message shown next runs its own loop before the deletion.
        m_progress->closeBox();
        m_progress->deleteLater();
        m_progress = nullptr;
    }
    m_running = false;
}

void BackgroundRun::showProgress(Kind kind) {
    if (m_progress == nullptr) {
        m_progress = new frmProgress(m_mainWindow);
        m_progress->setCancellable(kind == Kind::Renaming);
        connect(m_progress, &frmProgress::cancelRequested, this, &BackgroundRun::cancel);
        // Inside the main window, so it stays over it while the user drags it.
        m_progress->open();
    }
    const std::size_t total = m_total;
    const std::size_t done = m_done;
    if (kind == Kind::Reading || total == 0) {
        m_progress->showProgress(kind == Kind::Reading ? QStringLiteral("Reading the folder...")
                                                       : QStringLiteral("Preparing to rename..."),
                                 0, 0);
        return;
    }
    // The run counts steps; a ring of names takes one step more than its files.
    const std::size_t files = m_files > 0 ? m_files : total;
    const std::size_t filesDone = done * files / total;
    m_progress->showProgress(QStringLiteral("Renaming %1 of %2 files").arg(filesDone).arg(files),
                             static_cast<qsizetype>(done), static_cast<qsizetype>(total));
}

} // namespace velmorandi
