#pragma once

#include "run/run_testing.h"
#include "shell/overlay_box.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>

// What the window tests share.
namespace velmorandi::test {

// A path as the program writes it: names joined by "\\" on Windows.
inline std::string native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

// A control of the window by its object name; a missing one ends the test run.
template <class T> T* control(const QWidget& window, const QString& name) {
    auto* widget = window.findChild<T*>(name);
    if (widget == nullptr)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

// The text of one cell of the rename grid.
inline QString gridCell(const QWidget& window, int row, int column) {
    return control<QTableView>(window, "MSFlexGrid1")
        ->model()
        ->index(row, column)
        .data()
        .toString();
}

// The rows of a folder of many files, as the grid shows them, without making
// the files: the serial number, a name of ten characters twice, no status.
class ManyRows : public QAbstractTableModel {
  public:
    ManyRows(int rows, QStringList captions, QObject* parent)
        : QAbstractTableModel(parent), m_rows(rows), m_captions(std::move(captions)) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : m_rows;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_captions.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || index.column() == 3)
            return {};
        if (index.column() == 0)
            return QString::number(index.row() + 1);
        return QStringLiteral("IMG_%1.JPG").arg(index.row() + 1, 6, 10, QLatin1Char('0'));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_captions.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

  private:
    int m_rows;
    QStringList m_captions;
};

// The grid shows that many rows in the columns it has now: a new model alone
// would give every column the default width.
inline void showManyRows(QTableView& grid, int rows) {
    const QAbstractItemModel* before = grid.model();
    QStringList captions;
    QList<int> widths;
    for (int column = 0; column < before->columnCount(); ++column) {
        captions << before->headerData(column, Qt::Horizontal).toString();
        widths << grid.columnWidth(column);
    }
    grid.setModel(new ManyRows(rows, captions, &grid));
    for (int column = 0; column < widths.size(); ++column)
        grid.horizontalHeader()->resizeSection(column, widths[column]);
}

// Empty files, or files whose content is their name.
inline void createFiles(const QString& folder, const QStringList& names, bool named = false) {
    for (const QString& name : names) {
        QFile file(folder + '/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (named)
            file.write(name.toUtf8());
    }
}

inline QStringList filesOnDisk(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Closes every modal box that opens while it lives, with Escape, and keeps
// what each one said: lblMessage's text, or the box's object name.
class ModalCloser {
  public:
    ModalCloser() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { closeActiveModal(); });
        m_timer.start(20);
    }

    const QStringList& seen() const { return m_seen; }

    // The message window shows CR LF as a line break.
    static QString shown(QString text) { return text.replace(QStringLiteral("\r\n"), "\n"); }

  private:
    void closeActiveModal() {
        QWidget* modal = OverlayBox::waiting();
        if (modal == nullptr || modal == m_closing)
            return;
        m_closing = modal;
        const auto* message = modal->findChild<QLabel*>(QStringLiteral("lblMessage"));
        // Without the breaks a long word is given to fit the line.
        m_seen << (message != nullptr ? message->text().remove(QChar(0x200B))
                                      : modal->objectName());
        QTest::keyClick(modal, Qt::Key_Escape);
    }

    QTimer m_timer;
    QStringList m_seen;
    QPointer<QWidget> m_closing;
};

// Holds a run at chosen calls that rename a file (counted from 1 over the
// run and its rollback) and, while it is held there, acts on the window's
// thread; the run goes on once the act is over. A test acts at a known step
// of a run however fast or slow the disk is, and never waits on a clock.
class HeldRun {
  public:
    HeldRun() = default;
    HeldRun(const HeldRun&) = delete;
    HeldRun& operator=(const HeldRun&) = delete;

    void at(std::size_t call, std::function<void()> act) { m_acts[call] = std::move(act); }

    // For the window's setRunTesting; this must outlive the runs.
    RunTesting testing() {
        RunTesting testing;
        testing.seam = [this](DiskCall call, std::string_view, std::string_view,
                              const std::function<std::optional<SystemError>()>& perform) {
            if (renamesAFile(call))
                holdAt(++m_calls);
            return perform();
        };
        return testing;
    }

    std::size_t calls() const { return m_calls; }

  private:
    static bool renamesAFile(DiskCall call) {
        return call == DiskCall::Rename || call == DiskCall::Exchange || call == DiskCall::Link ||
               call == DiskCall::RenameOntoPlaceholder;
    }
    // On the run's thread.
    void holdAt(std::size_t call) {
        const auto act = m_acts.find(call);
        if (act == m_acts.end())
            return;
        std::unique_lock lock(m_mutex);
        m_held = true;
        QMetaObject::invokeMethod(
            qApp,
            [this, act = act->second] {
                act();
                const std::lock_guard released(m_mutex);
                m_held = false;
                m_release.notify_all();
            },
            Qt::QueuedConnection);
        m_release.wait(lock, [this] { return !m_held; });
    }

    std::map<std::size_t, std::function<void()>> m_acts;
    std::atomic<std::size_t> m_calls{0};
    std::mutex m_mutex;
    std::condition_variable m_release;
    bool m_held = false;
};

} // namespace velmorandi::test
