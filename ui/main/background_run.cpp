#include "main/background_run.h"

#include "main/time_left.h"
#include "shell/progress_window.h"
#include "words/progress_words.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <thread>

namespace velmorandi {

namespace {

// Below this a run passes unseen; above it the user wants a sign of life.
constexpr int kProgressDelayMs = 300;
constexpr int kProgressRefreshMs = 50;

using Kind = BackgroundRun::Kind;

bool mayCancel(Kind kind) {
    return kind == Kind::Renaming || kind == Kind::Undoing;
}

QString waitingText(Kind kind) {
    switch (kind) {
    case Kind::Reading:
        return words::readingFolder();
    case Kind::Undoing:
    case Kind::Restoring:
        return words::preparingToRestore();
    case Kind::Renaming:
        break;
    }
    return words::preparingToRename();
}

// Undo and recovery give files their old names back; only a rename renames.
QString countText(Kind kind, std::size_t done, std::size_t files) {
    return kind == Kind::Renaming ? words::renaming(done, files) : words::restoring(done, files);
}

} // namespace

BackgroundRun::BackgroundRun(QWidget* mainWindow, const JournalStore& records)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_records(records) {}

BackgroundRun::~BackgroundRun() = default;

void BackgroundRun::cancel() {
    if (!m_running || !mayCancel(m_kind))
        return;
    m_cancel = true;
    if (m_progress != nullptr)
        m_progress->setCancelling();
}

void BackgroundRun::runOnWorker(Kind kind, const std::function<void(const RunControl&)>& work) {
    m_running = true;
    m_kind = kind;
    m_cancel = false;
    m_done = 0;
    m_total = 0;
    m_timeLeft = {};
    m_putBack = 0;
    m_toPutBack = 0;
    m_checked = 0;
    m_toCheck = 0;
    {
        const std::lock_guard lock(m_folderMutex);
        m_restoringFolder.clear();
    }
    RunControl control;
    control.records = &m_records;
    control.observer = this;
    control.cancel = &m_cancel;
    control.testing = &m_testing;

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

void BackgroundRun::restoringFolder(const std::string& folder) {
    const std::lock_guard lock(m_folderMutex);
    m_restoringFolder = folder;
}

void BackgroundRun::stepsDone(std::size_t done, std::size_t total) {
    m_total = total;
    m_done = done;
}

void BackgroundRun::rollbackStepsDone(std::size_t done, std::size_t total) {
    m_toPutBack = total;
    m_putBack = done;
    stepsDone(done, total);
}

void BackgroundRun::rollbackFilesChecked(std::size_t done, std::size_t total) {
    m_toCheck = total;
    m_checked = done;
}

// Until the rollback makes its first step, the files the run renamed so far
// are the names to put back. The bar goes down over the rollback's whole
// work: first as the run's files are found on the disk, then as the names go
// back. Once every name is back, the folder is read to prove it.
void BackgroundRun::showCancelling() {
    std::size_t left = 0;
    if (m_toPutBack > 0)
        left = m_toPutBack - m_putBack;
    else if (m_total > 0)
        left = m_done * (m_files > 0 ? m_files : m_total.load()) / m_total;
    if (m_toPutBack > 0 && left == 0) {
        m_progress->showProgress(words::cancelling(), 0, 0);
        return;
    }
    const std::size_t names = m_toPutBack > 0 ? m_toPutBack.load() : left;
    const std::size_t toCheck = m_toCheck;
    const std::size_t unchecked = toCheck - std::min<std::size_t>(m_checked, toCheck);
    m_progress->showProgress(words::cancelling(left), static_cast<qsizetype>(unchecked + left),
                             static_cast<qsizetype>(toCheck + names));
}

void BackgroundRun::showTimeLeft(std::size_t done, std::size_t total) {
    m_progress->showTimeLeft(
        timeLeftText(m_timeLeft.update(std::chrono::steady_clock::now(), done, total)));
}

void BackgroundRun::showProgress(Kind kind) {
    if (m_progress == nullptr) {
        m_progress = new frmProgress(m_mainWindow);
        m_progress->setCancellable(mayCancel(kind));
        connect(m_progress, &frmProgress::cancelRequested, this, &BackgroundRun::cancel);
        // Inside the main window, so it stays over it while the user drags it.
        m_progress->open();
        if (m_cancel)
            m_progress->setCancelling();
    }
    if (m_cancel) {
        showCancelling();
        return;
    }
    const std::size_t total = m_total;
    const std::size_t done = m_done;
    showTimeLeft(done, total);
    std::string restoring;
    {
        const std::lock_guard lock(m_folderMutex);
        restoring = m_restoringFolder;
    }
    // Names put back after a crash, before any folder of the user's is listed.
    if (!restoring.empty()) {
        const QString text = total == 0 ? words::restoringIn(QString::fromStdString(restoring))
                                        : words::restoring(done, total);
        m_progress->showProgress(text, static_cast<qsizetype>(done), static_cast<qsizetype>(total));
        return;
    }
    if (kind == Kind::Reading || total == 0) {
        m_progress->showProgress(waitingText(kind), 0, 0);
        return;
    }
    // The run counts steps; a ring of names takes one step more than its files.
    const std::size_t files = m_files > 0 ? m_files : total;
    const std::size_t filesDone = done * files / total;
    m_progress->showProgress(countText(kind, filesDone, files), static_cast<qsizetype>(done),
                             static_cast<qsizetype>(total));
}

} // namespace velmorandi
