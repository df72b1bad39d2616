#include "main/main_window.h"
#include "modal_closer.h"
#include "shell/overlay_box.h"
#include "shell/picture_button.h"
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
    void undoFromKeyboardAndGridMenu();
    void closeDuringRunRollsBackFirst();
    void interruptedRunRolledBackBeforeTheFirstLoad();

  private:
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
    qputenv("XDG_STATE_HOME", m_state->path().toLocal8Bit());
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
    m_window->setRunSeam(
        [](const std::string& from, const std::string& to, const RenameFunction& rename) {
            std::this_thread::sleep_for(std::chrono::milliseconds(120));
            return rename(from, to);
        });

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
}

void RenameRunWindowTest::undoFromKeyboardAndGridMenu() {
    auto* grid = child<QTableView>("MSFlexGrid1");
    auto* find = child<QLineEdit>("tFind");
    ModalCloser closer;

    bool offeredBefore = true;
    QTimer::singleShot(100, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            offeredBefore = menu->findChild<QAction*>("mnuUndo")->isEnabled();
            menu->close();
        }
    });
    emit grid->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(!offeredBefore);

    addPrefix();
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));

    // In a text box Ctrl+Z belongs to the text. (A shortcut reaches the active window only.)
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    find->setFocus();
    QTest::keyClicks(find, "abc");
    QTest::keySequence(find, QKeySequence::Undo);
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));

    QAction* offered = nullptr;
    QTimer::singleShot(100, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            offered = menu->findChild<QAction*>("mnuUndo");
            QCOMPARE(offered->text(), QString("Undo last rename"));
            QVERIFY(offered->isEnabled());
            offered->trigger();
            menu->close();
        }
    });
    emit grid->customContextMenuRequested(QPoint(5, 5));
    QTRY_COMPARE(filesOnDisk(m_folder->path()), kNames);
    QVERIFY(offered != nullptr);
    QTRY_COMPARE(cell(0, 1), QString("a1.txt"));
    QCOMPARE(cell(0, 3), QString("Done"));

    // Again by key, after a second run; an undone run cannot be undone twice.
    addPrefix();
    QTest::mouseClick(child<QPushButton>("CmdRename"), Qt::LeftButton);
    QCOMPARE(filesOnDisk(m_folder->path()), prefixed(kNames));
    // A shortcut reaches the active window only.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    grid->setFocus();
    QTest::keySequence(grid, QKeySequence::Undo);
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    QTest::keySequence(grid, QKeySequence::Undo);
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    QCOMPARE(closer.seen(), QStringList());
}

void RenameRunWindowTest::closeDuringRunRollsBackFirst() {
    addPrefix();
    m_window->setRunSeam(
        [](const std::string& from, const std::string& to, const RenameFunction& rename) {
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            return rename(from, to);
        });
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
    RunControl control;
    control.testing.abandonAfter = 3;
    ExecuteRun(request, control);
    QCOMPARE(filesOnDisk(m_folder->path()).filter("x_").size(), 3);

    ModalCloser closer;
    m_window = std::make_unique<frmMainWindow>(nullptr, std::string(), true);
    m_window->show();
    QTRY_COMPARE(closer.seen().size(), 1);
    QVERIFY2(closer.seen().first().contains("3 files got their names back"),
             qPrintable(closer.seen().first()));
    QCOMPARE(filesOnDisk(m_folder->path()), kNames);
    // The folder is listed only after it has been put right.
    QTRY_COMPARE(cell(2, 1), QString("a3.txt"));
}

QTEST_MAIN(RenameRunWindowTest)
#include "rename_run_window_test.moc"
