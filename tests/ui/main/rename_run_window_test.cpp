#include "main/main_window.h"
#include "modal_closer.h"
#include "records_folder.h"
#include "shell/overlay_box.h"
#include "shell/picture_button.h"
#include "slow_steps.h"
#include "window_controls.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <memory>
#include <thread>

using namespace velmorandi;
using test::ModalCloser;

namespace {

const QStringList kNames = {"a1.txt", "a2.txt", "a3.txt", "a4.txt", "a5.txt", "a6.txt"};

QStringList filesOnDisk(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

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

} // namespace

class RenameRunWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void longRunShowsProgressAndEscapeRollsBack();
    void oneHistoryTakesBackEditsThenTheRenameOnDisk();
    void closeDuringRunRollsBackFirst();
    void interruptedRunRolledBackBeforeTheFirstLoad();

  private:
    QStringList menuOffers(const QString& choose = {});
    template <class T> T* child(const QString& name) { return test::control<T>(*m_window, name); }
    QString cell(int row, int column) { return test::gridCell(*m_window, row, column); }
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
    for (const QString& name : kNames) {
        QFile file(m_folder->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
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

void RenameRunWindowTest::longRunShowsProgressAndEscapeRollsBack() {
    addPrefix();
    m_window->setRunTesting(test::slowSteps(std::chrono::milliseconds(120)));

    QString progressText;
    bool progressShown = false;
    bool progressFollows = false;
    bool progressUnderMessage = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (OverlayBox::waiting() != nullptr && shownBox(*m_window, "frmProgress") != nullptr)
            progressUnderMessage = true;
    });
    watch.start(5);
    QTimer::singleShot(500, [&] {
        QWidget* progress = shownBox(*m_window, "frmProgress");
        progressShown = progress != nullptr;
        if (!progressShown)
            return;
        progressText = progress->findChild<QLabel*>("lblProgress")->text();
        // It stays over the main window while the user drags that.
        m_window->move(m_window->pos() + QPoint(40, 30));
        QApplication::processEvents();
        const QRect progressOnScreen(progress->mapToGlobal(QPoint(0, 0)), progress->size());
        progressFollows =
            (progressOnScreen.center() - m_window->frameGeometry().center()).manhattanLength() <= 2;
        // Held back while the run works: typing, and the buttons that change the list.
        QTest::keyClicks(child<QLineEdit>("tFind"), "zz");
        QTest::mouseClick(child<QPushButton>("CmdBlank"), Qt::LeftButton);
        QTest::keyClick(progress, Qt::Key_Escape);
    });
    auto* grid = child<QTableView>("MSFlexGrid1");
    grid->setCurrentIndex(grid->model()->index(3, 2));
    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);

    QVERIFY(progressShown);
    QVERIFY(progressFollows);
    QVERIFY(!progressUnderMessage);
    QVERIFY2(progressText.startsWith("Renaming ") && progressText.endsWith(" files"),
             qPrintable(progressText));
    QCOMPARE(child<QLineEdit>("tFind")->text(), QString());
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    for (const QString& name : kNames) {
        QFile file(m_folder->filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), name.toUtf8());
    }
    QCOMPARE(closer.seen().size(), 1);
    QVERIFY2(closer.seen().first().contains("No file has been renamed"),
             qPrintable(closer.seen().first()));
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
    QTimer::singleShot(100, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
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
    addPrefix();
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));
    QCOMPARE(menuOffers(), QStringList({"Undo last rename (enabled)", "Redo (greyed)"}));
    addPrefix();
    undo();
    QCOMPARE(cell(0, 2), QString("x_a1.txt"));
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));
    undo();
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    QCOMPARE(cell(0, 1), QString("a1.txt"));
    QCOMPARE(cell(0, 3), QString("Done"));
    // An undone run cannot be undone twice; Ctrl+Y renames its files again, once.
    QCOMPARE(menuOffers(), QStringList({"Undo (greyed)", "Redo last rename (enabled)"}));
    undo();
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    // A shortcut reaches the active window only, and the undo's message had the focus.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    press(Qt::CTRL | Qt::Key_Y);
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));
    QCOMPARE(cell(0, 3), QString("Done"));
    QCOMPARE(menuOffers(), QStringList({"Undo last rename (enabled)", "Redo (greyed)"}));
    undo();
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);

    addPrefix();
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));
    menuOffers("Undo last rename");
    QTRY_COMPARE(filesOnDisk(m_folder->path()), kNames);
    QTRY_COMPARE(cell(0, 1), QString("a1.txt"));
    // Each undo on disk says how many files have their old names again.
    QVERIFY(!closer.seen().isEmpty());
    for (const QString& told : closer.seen())
        QVERIFY2(told.contains(QString::number(kNames.size()) + " files"), qPrintable(told));
}

void RenameRunWindowTest::closeDuringRunRollsBackFirst() {
    addPrefix();
    m_window->setRunTesting(test::slowSteps(std::chrono::milliseconds(60)));
    QTimer::singleShot(150,
                       [&] { QTest::mouseClick(child<PictureButton>("ImgXbut"), Qt::LeftButton); });
    ModalCloser closer;
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    // Leaving, the user is not kept for a message that nothing happened.
    QCOMPARE(closer.seen(), QStringList());
}

void RenameRunWindowTest::interruptedRunRolledBackBeforeTheFirstLoad() {
    m_window.reset();
    // A run that stops after three renames, as a killed process would.
    const std::string folder = m_folder->path().toStdString();
    std::vector<std::string> names;
    for (const QString& name : kNames)
        names.push_back(name.toStdString());
    std::vector<std::string> targets;
    for (const std::string& name : names)
        targets.push_back("x_" + name);
    RunRequest request{folder, {}, nullptr};
    for (std::size_t i = 0; i < names.size(); ++i)
        request.moves.push_back({names[i], targets[i], {}, 0, i});
    // Killed after the third rename: no call after it reaches the disk.
    int renames = 0;
    RunTesting killed;
    killed.seam = [&](DiskCall call, std::string_view, std::string_view,
                      const std::function<std::optional<SystemError>()>& perform)
        -> std::optional<SystemError> {
        if (renames == 3)
            return SystemError{5, "killed"};
        renames += call == DiskCall::Rename || call == DiskCall::Exchange ? 1 : 0;
        return perform();
    };
    const JournalStore records = JournalStore::ofUser();
    RunControl control;
    control.records = &records;
    control.testing = &killed;
    ExecuteRun(request, control);
    QCOMPARE(filesOnDisk(m_folder->path()).filter("x_").size(), 3);

    ModalCloser closer;
    m_window = std::make_unique<frmMainWindow>(nullptr, std::string(), true);
    m_window->show();
    QTRY_COMPARE(closer.seen().size(), 1);
    QVERIFY2(closer.seen().first().contains("3 files got their old names back"),
             qPrintable(closer.seen().first()));
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    // The folder is listed only after it has been put right.
    QTRY_COMPARE(cell(2, 1), QString("a3.txt"));
}

QTEST_MAIN(RenameRunWindowTest)
#include "rename_run_window_test.moc"
