#include "main/folder_list.h"
#include "main/main_window.h"
#include "platform/file_system.h"
#include "records_folder.h"
#include "shell/overlay_box.h"
#include "shell/picture_button.h"
#include "window_test_support.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <thread>
#include <utility>

using namespace velmorandi;
using test::filesOnDisk;
using test::HeldRun;
using test::ModalCloser;

namespace {

const QStringList kNames = {"a1.txt", "a2.txt", "a3.txt", "a4.txt", "a5.txt", "a6.txt"};

QStringList prefixed(const QStringList& names) {
    QStringList result;
    for (const QString& name : names)
        result << "x_" + name;
    return result;
}

QWidget* shownBox(const QWidget& window, const char* name) {
    auto* box = window.findChild<QWidget*>(QLatin1String(name));
    return box != nullptr && box->isVisible() ? box : nullptr;
}

// A run, with the user's records, that `killed` stops: what it returns is never seen.
void runAsIfKilled(const RunRequest& request, const RunTesting& killed) {
    const JournalStore records = JournalStore::ofUser();
    RunControl control;
    control.records = &records;
    control.testing = &killed;
    static_cast<void>(ExecuteRun(request, control));
}

} // namespace

class RenameRunWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void progressFollowsTheRunAndEscapeCountsTheNamesBack();
    void oneHistoryTakesBackEditsThenTheRenameOnDisk();
    void cancelledRedoSaysCtrlYWhileRenameRenamesNothing();
    void barMovesWhileTheRollbackFindsTheFiles();
    void interruptedRunRolledBackBeforeTheFirstLoad();
    void emptyPlaceholderIsRemovedOnlyOnTheUsersAnswer();
    // Last: it runs the application's own event loop, which the close ends.
    void closeDuringRunCancelsItAndEndsOnceEveryNameIsBack();

  private:
    QStringList menuOffers(const QString& choose = {});
    template <class T> T* child(const QString& name) { return test::control<T>(*m_window, name); }
    QString cell(int row, int column) { return test::gridCell(*m_window, row, column); }
    QString progressText() {
        QWidget* progress = shownBox(*m_window, "frmProgress");
        return progress ? progress->findChild<QLabel*>("lblProgress")->text() : QString();
    }
    void addPrefix() {
        child<QLineEdit>("tText")->clear();
        QTest::keyClicks(child<QLineEdit>("tText"), "x_");
        QTest::mouseClick(child<QRadioButton>("oLeftText"), Qt::LeftButton);
        QTest::mouseClick(child<PictureButton>("ImgApply(2)"), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_state;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<frmMainWindow> m_window;
};

void RenameRunWindowTest::init() {
    // Journals of these runs stay out of the user's own state folder.
    m_state = std::make_unique<QTemporaryDir>();
    test::keepRecordsUnder(m_state->path());
    m_folder = std::make_unique<QTemporaryDir>();
    test::createFiles(m_folder->path(), kNames, true);
    QVERIFY(QDir::setCurrent(m_folder->path()));
    m_window = std::make_unique<frmMainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void RenameRunWindowTest::cleanup() {
    m_window.reset();
    QDir::setCurrent(QDir::tempPath());
    m_folder.reset();
    m_state.reset();
}

// Held at its third rename: the box shows, counts, stays over the window and
// keeps the user's input back; Escape cancels and the box counts the names
// still to put back, down to the last.
void RenameRunWindowTest::progressFollowsTheRunAndEscapeCountsTheNamesBack() {
    addPrefix();
    auto* grid = child<QTableView>("MSFlexGrid1");
    grid->setCurrentIndex(grid->model()->index(3, 2));
    bool progressUnderMessage = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (OverlayBox::waiting() != nullptr && shownBox(*m_window, "frmProgress") != nullptr)
            progressUnderMessage = true;
    });
    watch.start(5);

    HeldRun held;
    QStringList shown;
    held.at(3, [&] {
        QTRY_COMPARE(progressText(), QString("Renaming 2 of 6 files"));
        QWidget* progress = shownBox(*m_window, "frmProgress");
        // It stays over the main window while the user drags that.
        m_window->move(m_window->pos() + QPoint(40, 30));
        QApplication::processEvents();
        const QRect onScreen(progress->mapToGlobal(QPoint(0, 0)), progress->size());
        QVERIFY((onScreen.center() - m_window->frameGeometry().center()).manhattanLength() <= 2);
        // Held back while the run works: typing, and the buttons that change the list.
        QTest::keyClicks(child<QLineEdit>("tFind"), "zz");
        QTest::mouseClick(child<QPushButton>("CmdBlank"), Qt::LeftButton);
        QTest::keyClick(progress, Qt::Key_Escape);
        QTRY_COMPARE(progressText(), QString("Cancelling\u2026 2 names to put back"));
        QVERIFY(!progress->findChild<QPushButton*>("CmdCancel")->isEnabled());
    });
    // The third file was renamed as it was held; then the rollback's renames.
    held.at(4,
            [&] { QTRY_COMPARE(progressText(), QString("Cancelling\u2026 3 names to put back")); });
    held.at(6,
            [&] { QTRY_COMPARE(progressText(), QString("Cancelling\u2026 1 name to put back")); });
    m_window->setRunTesting(held.testing());
    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);

    QCOMPARE(held.calls(), std::size_t(6));
    QVERIFY(!progressUnderMessage);
    QCOMPARE(child<QLineEdit>("tFind")->text(), QString());
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    for (const QString& name : kNames) {
        QFile file(m_folder->filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), name.toUtf8());
    }
    QCOMPARE(closer.seen(), QStringList{"The rename has been cancelled. No file has been "
                                        "renamed.\n\nClick Rename to start it again."});
    QCOMPARE(cell(0, 1), QString("a1.txt"));
    QCOMPARE(cell(0, 3), QString());
    QVERIFY(shownBox(*m_window, "frmProgress") == nullptr);
    // Cancel keeps the edits and the place: Rename starts the same run again.
    QCOMPARE(cell(0, 2), QString("x_a1.txt"));
    QCOMPARE(grid->currentIndex(), grid->model()->index(3, 2));
    m_window->setRunTesting({});
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));
}

// What the grid's menu offers, one "text (enabled)" or "text (greyed)" per item;
// given a text, that item is chosen.
QStringList RenameRunWindowTest::menuOffers(const QString& choose) {
    auto* grid = child<QTableView>("MSFlexGrid1");
    QStringList offered;
    // Once the menu waits for the user.
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !QTest::qWaitForWindowExposed(menu))
            return;
        QAction* chosen = nullptr;
        for (const char* name : {"mnuUndo", "mnuRedo"}) {
            auto* action = menu->findChild<QAction*>(name);
            offered << action->text() + (action->isEnabled() ? " (enabled)" : " (greyed)");
            if (action->text() == choose)
                chosen = action;
        }
        menu->close();
        if (chosen != nullptr)
            chosen->trigger();
    });
    emit grid->customContextMenuRequested(QPoint(5, 5));
    return offered;
}

void RenameRunWindowTest::oneHistoryTakesBackEditsThenTheRenameOnDisk() {
    auto* grid = child<QTableView>("MSFlexGrid1");
    ModalCloser closer;
    // A shortcut reaches the active window only.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    const auto press = [&](QKeyCombination keys) {
        grid->setFocus();
        QTest::keyClick(grid, keys.key(), keys.keyboardModifiers());
    };
    const auto undo = [&] { press(Qt::CTRL | Qt::Key_Z); };
    QCOMPARE(menuOffers(), QStringList({"Undo (greyed)", "Redo (greyed)"}));

    // Three edits; an Apply that changes no name is no step.
    addPrefix();
    QTest::mouseClick(child<PictureButton>("ImgApply(4)"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("CmdBlank"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("CmdReset"), Qt::LeftButton);
    QCOMPARE(cell(0, 2), QString("a1.txt"));
    QCOMPARE(menuOffers(), QStringList({"Undo Reset (enabled)", "Redo (greyed)"}));

    // Back step by step to the names after the load, then nothing more.
    undo();
    QCOMPARE(cell(0, 2), QString(".txt"));
    undo();
    QCOMPARE(cell(5, 2), QString("x_a6.txt"));
    QCOMPARE(menuOffers(), QStringList({"Undo Add String (enabled)", "Redo Blank (enabled)"}));
    undo();
    QCOMPARE(cell(5, 2), QString("a6.txt"));
    undo();
    QCOMPARE(cell(5, 2), QString("a6.txt"));
    QCOMPARE(menuOffers(), QStringList({"Undo (greyed)", "Redo Add String (enabled)"}));

    // Forward again by Ctrl+Y, Ctrl+Shift+Z and the menu.
    press(Qt::CTRL | Qt::Key_Y);
    QCOMPARE(cell(5, 2), QString("x_a6.txt"));
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QCOMPARE(cell(5, 2), QString(".txt"));
    menuOffers("Redo Reset");
    QCOMPARE(cell(5, 2), QString("a6.txt"));
    QCOMPARE(menuOffers(), QStringList({"Undo Reset (enabled)", "Redo (greyed)"}));

    // A new edit after a step back ends the way forward.
    undo();
    addPrefix();
    QCOMPARE(cell(5, 2), QString("x_.txt"));
    QCOMPARE(menuOffers(), QStringList({"Undo Add String (enabled)", "Redo (greyed)"}));

    // In a text box Ctrl+Z and Ctrl+Y belong to its text.
    auto* find = child<QLineEdit>("tFind");
    find->setFocus();
    QTest::keyClicks(find, "abc");
    QTest::keySequence(find, QKeySequence::Undo);
    QCOMPARE(find->text(), QString());
    QTest::keyClick(find, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(find->text(), QString("abc"));
    QCOMPARE(cell(5, 2), QString("x_.txt"));

    // A completed rename starts a new history: Ctrl+Z takes back the edits made since,
    // and only then the rename on disk, by key or from the menu.
    QTest::mouseClick(child<QPushButton>("CmdReset"), Qt::LeftButton);
    find->clear();
    QTest::keyClicks(find, "a1");
    QTest::keyClicks(child<QLineEdit>("tReplace"), "z1");
    QTest::mouseClick(child<PictureButton>("ImgApply(0)"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    const QStringList renamed = {"a2.txt", "a3.txt", "a4.txt", "a5.txt", "a6.txt", "z1.txt"};
    QCOMPARE(filesOnDisk(m_folder->path()), renamed);
    QCOMPARE(menuOffers(), QStringList({"Undo last rename (enabled)", "Redo (greyed)"}));
    addPrefix();
    // Another folder opened meanwhile has none of these edits, and takes none away.
    QVERIFY(QDir(m_folder->path()).mkdir("inner"));
    auto* dir1 = child<FolderList>("Dir1");
    dir1->setPath(dir1->root(), dir1->path());
    dir1->openRow(dir1->count() - 1);
    QCOMPARE(dir1->path(), test::native(m_folder->filePath("inner")));
    QCOMPARE(menuOffers(), QStringList({"Undo (greyed)", "Redo (greyed)"}));
    dir1->openRow(dir1->currentRow() - 1);
    QCOMPARE(cell(0, 2), QString("x_a2.txt"));
    QCOMPARE(menuOffers(), QStringList({"Undo Add String (enabled)", "Redo (greyed)"}));
    undo();
    QCOMPARE(cell(0, 2), QString("a2.txt"));
    QCOMPARE(filesOnDisk(m_folder->path()), renamed);
    // The current row follows its file, back to its old name and again to its new one.
    grid->setCurrentIndex(grid->model()->index(5, 1));
    undo();
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    QCOMPARE(cell(0, 1), QString("a1.txt"));
    QCOMPARE(cell(0, 3), QString("Done"));
    QCOMPARE(grid->currentIndex(), grid->model()->index(0, 1));
    // An undone run cannot be undone twice; Ctrl+Y renames its files again, once.
    QCOMPARE(menuOffers(), QStringList({"Undo (greyed)", "Redo last rename (enabled)"}));
    undo();
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    // A shortcut reaches the active window only, and the undo's message had the focus.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    press(Qt::CTRL | Qt::Key_Y);
    QCOMPARE(filesOnDisk(m_folder->path()), renamed);
    QCOMPARE(cell(0, 3), QString("Done"));
    QCOMPARE(grid->currentIndex(), grid->model()->index(5, 1));
    QCOMPARE(menuOffers(), QStringList({"Undo last rename (enabled)", "Redo (greyed)"}));
    undo();
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);

    addPrefix();
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));
    menuOffers("Undo last rename");
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    QCOMPARE(cell(0, 1), QString("a1.txt"));
    // Each undo on disk says how many files have their old names again.
    const QString one = "1 file has its old name again.\n\nPress Ctrl+Y to rename it again.";
    QCOMPARE(closer.seen(), QStringList({one, one,
                                         "6 files have their old names again.\n\nPress Ctrl+Y "
                                         "to rename them again."}));
}

// A redo cancelled half way puts every name back, and only Ctrl+Y makes it
// again: the message says so. Rename then has no edited name to give: it
// renames nothing, reads the folder again and marks every row "Done".
void RenameRunWindowTest::cancelledRedoSaysCtrlYWhileRenameRenamesNothing() {
    auto* grid = child<QTableView>("MSFlexGrid1");
    ModalCloser closer;
    const auto press = [&](QKeyCombination keys) {
        // A shortcut reaches the active window only, and a message may have had the focus.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        grid->setFocus();
        QTest::keyClick(grid, keys.key(), keys.keyboardModifiers());
    };
    addPrefix();
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    press(Qt::CTRL | Qt::Key_Z);
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);

    HeldRun held;
    held.at(3, [&] {
        QTRY_COMPARE(progressText(), QString("Renaming 2 of 6 files"));
        QTest::keyClick(shownBox(*m_window, "frmProgress"), Qt::Key_Escape);
    });
    m_window->setRunTesting(held.testing());
    press(Qt::CTRL | Qt::Key_Y);
    QCOMPARE(held.calls(), std::size_t(6));
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    QCOMPARE(closer.seen().last(), QString("The rename has been cancelled. No file has been "
                                           "renamed.\n\nPress Ctrl+Y to rename them again."));
    m_window->setRunTesting({});

    const qsizetype messages = closer.seen().size();
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    QCOMPARE(closer.seen().size(), messages);
    for (int i = 0; i < kNames.size(); ++i)
        QCOMPARE(cell(i, 3), QString("Done"));

    press(Qt::CTRL | Qt::Key_Y);
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));
    for (int i = 0; i < kNames.size(); ++i)
        QCOMPARE(cell(i, 3), QString("Done"));
}

// Before it puts a name back, a rollback reads every file of the run on the
// disk, which takes long in a large folder: the bar goes down meanwhile
// rather than stand still. Where files have no lasting numbers, the rollback
// finds them by their names in one listing, and there is nothing to wait for.
void RenameRunWindowTest::barMovesWhileTheRollbackFindsTheFiles() {
    platform::FolderHandle folder;
    QVERIFY(!folder.open(m_folder->path().toStdString()));
    if (!platform::describeFileSystem(folder).stableIdentities)
        QSKIP("The rollback reads no file by its number on this drive.");
    addPrefix();
    std::atomic<bool> cancelled{false};
    HeldRun held;
    held.at(3, [&] {
        QTRY_COMPARE(progressText(), QString("Renaming 2 of 6 files"));
        QTest::keyClick(shownBox(*m_window, "frmProgress"), Qt::Key_Escape);
        cancelled = true;
    });
    RunTesting testing = held.testing();
    testing.seam = [inner = testing.seam,
                    &cancelled](DiskCall call, std::string_view a, std::string_view b,
                                const std::function<std::optional<SystemError>()>& perform) {
        if (call == DiskCall::EntryStatus && cancelled)
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        return inner(call, a, b, perform);
    };
    std::set<std::pair<int, int>> bars;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (progressText() != QString("Cancelling\u2026 3 names to put back"))
            return;
        const auto* bar = shownBox(*m_window, "frmProgress")->findChild<QProgressBar*>();
        bars.insert({bar->value(), bar->maximum()});
    });
    watch.start(5);
    m_window->setRunTesting(testing);
    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    QVERIFY2(bars.size() >= 3, qPrintable(QString::number(bars.size())));
}

void RenameRunWindowTest::interruptedRunRolledBackBeforeTheFirstLoad() {
    m_window.reset();
    // A run that stops after three renames, as a killed process would.
    const std::string folder = test::native(m_folder->path());
    std::vector<std::string> names;
    for (const QString& name : kNames)
        names.push_back(name.toStdString());
    std::vector<std::string> targets;
    for (const std::string& name : names)
        targets.push_back("x_" + name);
    RunRequest request{folder, {}, nullptr};
    for (std::size_t i = 0; i < names.size(); ++i)
        request.moves.push_back({names[i], targets[i], {}, 0, i});
    // Killed after the third rename: no call after it reaches the disk. The journal is
    // written on a thread of its own, through the same seam.
    std::atomic<int> renames = 0;
    RunTesting killed;
    killed.seam = [&](DiskCall call, std::string_view, std::string_view,
                      const std::function<std::optional<SystemError>()>& perform)
        -> std::optional<SystemError> {
        if (renames == 3)
            return SystemError{5, "killed"};
        renames += call == DiskCall::Rename || call == DiskCall::Exchange ? 1 : 0;
        return perform();
    };
    runAsIfKilled(request, killed);
    QCOMPARE(filesOnDisk(m_folder->path()).filter("x_").size(), 3);

    ModalCloser closer;
    m_window = std::make_unique<frmMainWindow>(nullptr, std::string(), true);
    m_window->show();
    QTRY_COMPARE(closer.seen(),
                 QStringList{"A rename in " + QDir::toNativeSeparators(m_folder->path()) +
                             " was interrupted; 3 files got their old names back.\n\nYou can "
                             "rename them again whenever you are ready."});
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    // The folder is listed only after it has been put right.
    QTRY_COMPARE(cell(2, 1), QString("a3.txt"));
}

// A run on a drive that needs placeholders, killed between making one and
// writing its mark: the start-up message names the empty file and asks.
// "Keep it" leaves it and the record; the next start asks again, and
// "Remove the empty file" puts every name back and ends the record.
void RenameRunWindowTest::emptyPlaceholderIsRemovedOnlyOnTheUsersAnswer() {
    m_window.reset();
    const std::string folder = test::native(m_folder->path());
    std::vector<std::string> names;
    std::vector<std::string> targets;
    for (const QString& name : kNames) {
        names.push_back(name.toStdString());
        targets.push_back("x_" + names.back());
    }
    RunRequest request{folder, {}, nullptr};
    for (std::size_t i = 0; i < names.size(); ++i)
        request.moves.push_back({names[i], targets[i], {}, 0, i});
    std::atomic<int> placeholders = 0; // the journal's thread calls the seam too
    RunTesting killed;
    killed.noIdentities = true;
    killed.way = RenameWay::Placeholder;
    killed.seam = [&](DiskCall call, std::string_view, std::string_view,
                      const std::function<std::optional<SystemError>()>& perform)
        -> std::optional<SystemError> {
        if (placeholders == 3)
            return SystemError{5, "killed"};
        placeholders += call == DiskCall::CreatePlaceholder ? 1 : 0;
        return perform();
    };
    runAsIfKilled(request, killed);
    QVERIFY(QFileInfo::exists(m_folder->filePath("x_a3.txt")));
    QCOMPARE(QFileInfo(m_folder->filePath("x_a3.txt")).size(), 0);
    const QDir recordsFolder(QString::fromStdString(JournalStore::ofUser().folderPath()));
    const auto journals = [&] { return recordsFolder.entryList({"*.journal"}, QDir::Files); };
    QCOMPARE(journals().size(), 1);
    QStringList before = kNames;
    before << "x_a3.txt";

    for (const bool remove : {false, true}) {
        QStringList asked;
        QTimer answer;
        QPointer<QWidget> answered;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* box = OverlayBox::waiting();
            if (box == nullptr || box == answered)
                return;
            answered = box;
            auto* yes = box->findChild<QPushButton*>("CmdYes");
            if (yes == nullptr) {
                QTest::keyClick(box, Qt::Key_Escape); // what a "Remove" puts right is told
                return;
            }
            asked << box->findChild<QLabel*>("lblMessage")->text().remove(QChar(0x200B))
                  << yes->text() << box->findChild<QPushButton*>("CmdNo")->text();
            QTest::mouseClick(remove ? yes : box->findChild<QPushButton*>("CmdNo"), Qt::LeftButton);
        });
        answer.start(20);
        m_window = std::make_unique<frmMainWindow>(nullptr, std::string(), true);
        m_window->show();
        QTRY_COMPARE(asked.size(), 3);
        QVERIFY2(asked[0].contains("x_a3.txt"), qPrintable(asked[0]));
        QCOMPARE(asked[1], QString("Remove the empty file"));
        QCOMPARE(asked[2], QString("Keep it"));
        QTRY_COMPARE(cell(2, 1), QString("a3.txt"));
        QCOMPARE(filesOnDisk(m_folder->path()), remove ? kNames : before);
        QCOMPARE(journals().size(), remove ? 0 : 1);
        m_window.reset();
    }
}

// The close button during a run acts as Cancel: the box says so and counts the
// names going back; a second close, from the window manager this time, does
// not stop the rollback; the program ends once every name is back, silently.
void RenameRunWindowTest::closeDuringRunCancelsItAndEndsOnceEveryNameIsBack() {
    addPrefix();
    HeldRun held;
    held.at(3, [&] {
        QTRY_COMPARE(progressText(), QString("Renaming 2 of 6 files"));
        QTest::mouseClick(child<PictureButton>("ImgXbut"), Qt::LeftButton);
        QTRY_COMPARE(progressText(), QString("Cancelling\u2026 2 names to put back"));
    });
    held.at(5, [&] {
        QTRY_COMPARE(progressText(), QString("Cancelling\u2026 2 names to put back"));
        QVERIFY(!m_window->close());
    });
    m_window->setRunTesting(held.testing());
    ModalCloser closer;
    QTimer::singleShot(0,
                       [&] { QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton); });
    // Only a program that never ends meets this.
    QTimer never;
    never.setSingleShot(true);
    QObject::connect(&never, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    never.start(120000);
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(held.calls(), std::size_t(6));
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    QCOMPARE(closer.seen(), QStringList());
    QVERIFY(!m_window->isVisible());
}

QTEST_MAIN(RenameRunWindowTest)
#include "rename_run_window_test.moc"
