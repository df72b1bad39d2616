// What only Windows has, as the windows and the start-up meet it: drive letters,
// folders from a drive's root, Windows paths on the command line, the hand-over
// pipe's access list, the system's own folders and the names Windows reserves.
#include "command_line.h"
#include "folder_handover.h"
#include "main/default_drive.h"
#include "main/drive_list.h"
#include "main/folder_list.h"
#include "main/main_window.h"
#include "main/window_test_support.h"
#include "single_instance.h"

#include "paths.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "../core/windows/access_list.h"

#include <memory>

using namespace velmorandi;
using test::ModalCloser;

namespace {

using test::createFiles;
using test::native;

// Shown when an edited name cannot be given.
const QString kRenameRefused = QStringLiteral(
    "Could not invoke rename process. Some edited filename conflicts with Microsoft Windows "
    "filenaming conventions.\r\n\r\n"
    "Also check edited filename for no duplicacy and no blank wherever status is marked for "
    "error.");

} // namespace

class WindowsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void drivesAreLettersAndTheFirstPastTheFloppiesIsTheDefault();
    void folderListWalksDownFromTheDriveRoot();
    void commandLineTakesWindowsPathsAndShares();
    void handOverPipeAdmitsTheUserAlone();
    void systemFoldersShowTheWarning();
    void namesWindowsReservesAreRefusedWithTheMessage();

  private:
    std::unique_ptr<frmMainWindow> openWindow(const QString& folder) {
        auto window = std::make_unique<frmMainWindow>(nullptr, native(folder));
        window->show();
        return window;
    }
};

void WindowsWindowTest::drivesAreLettersAndTheFirstPastTheFloppiesIsTheDefault() {
    const std::vector<DriveEntry> drives = mountedDrives();
    QVERIFY(!drives.empty());
    static const QRegularExpression entry(QStringLiteral("^([a-z]):( \\[.+\\])?$"));
    QStringList texts;
    for (const DriveEntry& drive : drives) {
        const auto match = entry.match(drive.text);
        QVERIFY2(match.hasMatch(), qPrintable(drive.text));
        QCOMPARE(drive.root, match.captured(1).toUpper().toStdString() + ":\\");
        texts << drive.text;
    }
    QVERIFY(std::is_sorted(texts.begin(), texts.end()));
    const std::string systemDrive = native(QDir::rootPath());
    QVERIFY(std::any_of(drives.begin(), drives.end(),
                        [&](const DriveEntry& d) { return d.root == systemDrive; }));

    // The window opens on the first drive that is not a floppy drive, at the folder the
    // program was started in when it lies there.
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()));
    frmMainWindow window;
    window.show();
    auto* drive1 = test::control<DriveList>(window, "Drive1");
    QCOMPARE(drive1->currentIndex(), *defaultDriveIndex(drive1->entryTexts()));
    QVERIFY(drive1->currentText().startsWith(QStringLiteral("a:")) == false);
    const std::string shown = test::control<FolderList>(window, "Dir1")->path();
    if (liesUnder(native(folder.path()), drive1->drive()))
        QCOMPARE(shown, native(folder.path()));
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
}

void WindowsWindowTest::folderListWalksDownFromTheDriveRoot() {
    QTemporaryDir top;
    const QString greek = QString::fromUtf8("\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1");
    QVERIFY(QDir(top.path()).mkpath(greek + "/inner"));
    const std::string root = native(QDir::rootPath());
    const std::string folder = JoinPath(native(top.path()), greek.toStdString());

    FolderList list;
    QVERIFY(!list.setPath(root, folder));
    QCOMPARE(list.entry(0).path, root);
    const int current = list.currentRow();
    QCOMPARE(list.entry(current).path, folder);
    QCOMPARE(list.entry(current).name, greek.toStdString());
    QCOMPARE(list.entry(current - 1).path, native(top.path()));
    QCOMPARE(list.count(), current + 2);
    QCOMPARE(list.entry(current + 1).path, JoinPath(folder, "inner"));
    // Letter case does not tell folders apart on Windows: the same folder, another case.
    QVERIFY(liesUnder(QString::fromStdString(folder).toUpper().toStdString(), root));

    // Past MAX_PATH (260 characters) all the same.
    QString deep = top.path();
    while (deep.size() <= 300)
        deep += QStringLiteral("/") + QString(40, QLatin1Char('d'));
    QVERIFY(QDir().mkpath(deep + "/inner"));
    QVERIFY(!list.setPath(root, native(deep)));
    QCOMPARE(list.entry(list.count() - 1).path, native(deep + "/inner"));
}

void WindowsWindowTest::commandLineTakesWindowsPathsAndShares() {
    QTemporaryDir current;
    QVERIFY(QDir::setCurrent(current.path()));
    const std::string here = native(QDir::currentPath());
    const std::string drive = here.substr(0, 3);
    const struct {
        std::string argument, folder;
    } runs[] = {
        {"photos", here + "\\photos"},
        {"C:\\a\\.\\b\\..\\c\\\\", "C:\\a\\c"},
        {"c:/a/b/", "c:\\a\\b"},
        {"\\a", drive + "a"},
        {"\\\\?\\C:\\a\\b", "C:\\a\\b"},
        {"\\\\server\\share\\photos\\", "\\\\server\\share\\photos"},
        {"\\\\?\\UNC\\server\\share\\photos", "\\\\server\\share\\photos"},
    };
    for (const auto& run : runs) {
        const CommandLine parsed = parseCommandLine({run.argument});
        QCOMPARE(parsed.action, CommandLine::Action::Run);
        QCOMPARE(QString::fromStdString(parsed.folder), QString::fromStdString(run.folder));
    }

    // No drive letter stands for a share: it is listed as a drive of its own.
    DriveList drives;
    drives.setDrives({{"c:", "C:\\"}});
    QCOMPARE(drives.addShareHolding("C:\\photos"), std::nullopt);
    QCOMPARE(drives.addShareHolding("\\\\server\\share\\photos"), std::optional<int>(1));
    QCOMPARE(drives.entryTexts(), QStringList({"c:", "\\\\server\\share"}));
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
}

void WindowsWindowTest::handOverPipeAdmitsTheUserAlone() {
    SingleInstance instance;
    QVERIFY(instance.acquire() && instance.holdsLock());
    FolderHandover handover(instance.folder(), [](const std::string&, const std::string&) {
        return HandoverAnswer::Opened;
    });
    QVERIFY(handover.isListening());
    const std::wstring pipe = L"\\\\.\\pipe\\" + handoverAddress(instance.folder()).toStdWString();
    const HANDLE client = ::CreateFileW(pipe.c_str(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL,
                                        0, nullptr, OPEN_EXISTING, 0, nullptr);
    QVERIFY(client != INVALID_HANDLE_VALUE);
    const std::vector<std::string> admitted = testing::handleAdmits(client);
    ::CloseHandle(client);
    QCOMPARE(admitted, std::vector<std::string>{testing::currentUser()});
}

// The protected-file guard reads %SystemRoot% and %ProgramFiles% of the system itself.
void WindowsWindowTest::systemFoldersShowTheWarning() {
    const auto systemRoot = qEnvironmentVariable("SystemRoot");
    QVERIFY(!systemRoot.isEmpty());
    auto window = openWindow(systemRoot);
    QVERIFY(test::control<QWidget>(*window, "ImgAbut")->isVisible());
    QTemporaryDir plain;
    createFiles(plain.path(), {"a.txt"});
    window = openWindow(plain.path());
    QVERIFY(!test::control<QWidget>(*window, "ImgAbut")->isVisible());
}

void WindowsWindowTest::namesWindowsReservesAreRefusedWithTheMessage() {
    QTemporaryDir folder;
    const QStringList names = {"con1.txt", "keep.txt", "Lpt31.log", "trail1"};
    createFiles(folder.path(), names);
    auto window = openWindow(folder.path());
    QTest::keyClicks(test::control<QLineEdit>(*window, "tFind"), "1");
    QTest::keyClicks(test::control<QLineEdit>(*window, "tReplace"), " ");
    QTest::keyClick(test::control<QLineEdit>(*window, "tReplace"), Qt::Key_Return);
    QCOMPARE(test::gridCell(*window, 0, 2), QString("con .txt"));

    ModalCloser closer;
    QTest::mouseClick(test::control<QPushButton>(*window, "CmdRename"), Qt::LeftButton);
    QCOMPARE(closer.seen(), QStringList{ModalCloser::shown(kRenameRefused)});
    const QStringList statuses = {"Err!", "", "Err!", "Err!"};
    for (int row = 0; row < names.size(); ++row)
        QCOMPARE(test::gridCell(*window, row, 3), statuses[row]);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase), names);
}

QTEST_MAIN(WindowsWindowTest)
#include "windows_window_test.moc"
