#include "command_line.h"
#include "folder_handover.h"
#include "main/folder_list.h"
#include "main/main_window.h"
#include "main/window_controls.h"
#include "paths.h"
#include "single_instance.h"
#include "startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

using velmorandi::CommandLine;
using velmorandi::JoinPath;
using velmorandi::nativePath;
using velmorandi::parseCommandLine;
using velmorandi::test::native;

namespace {

const char kRunMainVariable[] = "VELMORANDI_TEST_RUN_MAIN";

using Action = CommandLine::Action;

struct Run {
    int status = -1;
    QByteArray out, err;
};

void startMain(QProcess& child, const QStringList& arguments, bool withDisplay) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kRunMainVariable), QStringLiteral("1"));
    if (!withDisplay) {
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
    }
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), arguments);
}

// Text as the program writes it on its outputs: Windows ends lines in CR LF.
QByteArray nativeLines(QByteArray text) {
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    return text;
}

// The program's own start-up, in a child process.
Run runMain(const QStringList& arguments, bool withDisplay) {
    QProcess child;
    startMain(child, arguments, withDisplay);
    if (!child.waitForFinished(20000))
        child.kill();
    return {child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1,
            child.readAllStandardOutput(), child.readAllStandardError()};
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
  private slots:
    void folderOptionsAndMistakesGnuStyle();
    void helpAndVersionPrintAndEndWithoutADisplay();
    void secondStartHandsItsFolderToTheRunningWindow();
};

void CommandLineTest::folderOptionsAndMistakesGnuStyle() {
    QTemporaryDir current;
    QVERIFY(current.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    const std::string here = nativePath(QDir::currentPath().toStdString());
    const std::string root = nativePath(QDir::rootPath().toStdString());
#ifdef Q_OS_WIN
    // Greek: no ANSI code page of Western Europe can say it.
    const std::string oddName = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xF0\x9F\x98\x80";
#else
    const std::string oddName = "caf\xe9 \xff"; // no UTF-8: the bytes as they are
#endif
    QFile photo(current.filePath("photo.jpg"));
    QVERIFY(photo.open(QIODevice::WriteOnly));
    photo.close();

    const struct {
        std::vector<std::string> arguments;
        Action action;
        std::string folder;
        std::string file = {};
    } runs[] = {
        {{}, Action::Run, ""},
        // A file stands for its folder, where its row starts current.
        {{"photo.jpg"}, Action::Run, here, "photo.jpg"},
        {{"./photo.jpg/"}, Action::Run, here, "photo.jpg"},
        // Qt's own options are Qt's, also before a folder.
        {{"-platform", "offscreen", "photos"}, Action::Run, JoinPath(here, "photos")},
        {{"--style=fusion", "-reverse", "--display", ":1"}, Action::Run, ""},
        {{"photos"}, Action::Run, JoinPath(here, "photos")},
        {{"photos/"}, Action::Run, JoinPath(here, "photos")},
        {{"/a/./b/../c//"}, Action::Run, JoinPath(JoinPath(root, "a"), "c")},
        {{"/"}, Action::Run, root},
        {{"-"}, Action::Run, JoinPath(here, "-")},
        {{"--", "--help"}, Action::Run, JoinPath(here, "--help")},
        {{oddName}, Action::Run, JoinPath(here, oddName)},
        {{"--help"}, Action::ShowHelp, ""},
        {{"--he", "photos"}, Action::ShowHelp, ""},
        {{"photos", "--version"}, Action::ShowVersion, ""},
        {{"--v"}, Action::ShowVersion, ""},
    };
    for (const auto& run : runs) {
        const CommandLine parsed = parseCommandLine(run.arguments);
        QCOMPARE(parsed.action, run.action);
        QCOMPARE(QString::fromStdString(parsed.folder), QString::fromStdString(run.folder));
        QCOMPARE(QString::fromStdString(parsed.file), QString::fromStdString(run.file));
        QCOMPARE(parsed.complaint, std::string());
    }

    const std::string tryHelp = "Try 'velmorandi --help' for more information.\n";
    const struct {
        std::vector<std::string> arguments;
        std::string complaint;
    } mistakes[] = {
        {{"-x"}, "velmorandi: invalid option -- 'x'\n"},
        {{"--frobnicate"}, "velmorandi: unrecognized option '--frobnicate'\n"},
        {{"--"}, ""},
        {{"--help=yes"}, "velmorandi: option '--help' doesn't allow an argument\n"},
        {{"one", "two"}, "velmorandi: extra operand 'two'\n"},
        {{"photos", "-platform"}, "velmorandi: option '-platform' requires an argument\n"},
        {{"-platformx", "offscreen"}, "velmorandi: invalid option -- 'p'\n"},
    };
    for (const auto& mistake : mistakes) {
        const CommandLine parsed = parseCommandLine(mistake.arguments);
        if (mistake.complaint.empty()) {
            QCOMPARE(parsed.action, Action::Run);
            continue;
        }
        QCOMPARE(parsed.action, Action::Refuse);
        QCOMPARE(parsed.complaint, mistake.complaint + tryHelp);
    }
    QVERIFY(QDir::setCurrent(previous));
}

void CommandLineTest::helpAndVersionPrintAndEndWithoutADisplay() {
    const Run help = runMain({QStringLiteral("--help")}, false);
    QCOMPARE(help.status, 0);
    QVERIFY2(help.out.startsWith(nativeLines("Usage: velmorandi [OPTION]... [FOLDER|FILE]\n")),
             help.out);
    QVERIFY(help.out.contains("--version"));
    QCOMPARE(help.err, QByteArray());

    const Run version = runMain({QStringLiteral("--version")}, false);
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, nativeLines(QByteArray::fromStdString(velmorandi::versionText())));
    QVERIFY(version.out.startsWith("velmorandi (Velmorandi) 1."));

    const Run extra = runMain({QStringLiteral("one"), QStringLiteral("two")}, false);
    QCOMPARE(extra.status, 2);
    QCOMPARE(extra.err, nativeLines("velmorandi: extra operand 'two'\n"
                                    "Try 'velmorandi --help' for more information.\n"));

    // A mistake is said on the error output before any display is asked for, also among
    // Qt's own options; no window opens.
    for (const QStringList& arguments :
         {QStringList{"-x"}, QStringList{"-platform", "offscreen", "-x"}}) {
        const Run mistake = runMain(arguments, false);
        QCOMPARE(mistake.status, 2);
        QCOMPARE(mistake.out, QByteArray());
        QCOMPARE(mistake.err, nativeLines("velmorandi: invalid option -- 'x'\n"
                                          "Try 'velmorandi --help' for more information.\n"));
    }
}

// The running instance is this test's window; the second start is a process of its own.
void CommandLineTest::secondStartHandsItsFolderToTheRunningWindow() {
    QTemporaryDir runtime, first, parent;
    QVERIFY(runtime.isValid() && first.isValid() && parent.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    // Greek, which no ANSI code page of Western Europe says: it reaches the program whole.
    const QString second = parent.filePath(QString::fromUtf8("\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC"));
    QVERIFY(QDir().mkdir(second));
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) {
        QFile file(QDir(second).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    velmorandi::SingleInstance instance;
    QVERIFY(instance.acquire() && instance.holdsLock());
    velmorandi::frmMainWindow window(nullptr, native(first.path()));
    window.show();
    velmorandi::FolderHandover handover(instance.folder(),
                                        [&](const std::string& folder, const std::string& file) {
                                            return window.openHandedOver(folder, file);
                                        });
    QVERIFY(handover.isListening());
    auto* dir1 = window.findChild<velmorandi::FolderList*>("Dir1");
    auto* grid = window.findChild<QTableView*>("MSFlexGrid1");
    QCOMPARE(dir1->path(), native(first.path()));

    QProcess secondStart;
    startMain(secondStart, {QDir(second).filePath("2.txt")}, true);
    QTRY_VERIFY_WITH_TIMEOUT(secondStart.state() == QProcess::NotRunning, 20000);
    QCOMPARE(secondStart.exitStatus(), QProcess::NormalExit);
    QCOMPARE(secondStart.exitCode(), 0);
    QTRY_COMPARE(QString::fromStdString(dir1->path()), QDir::toNativeSeparators(second));
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(grid->currentIndex().row(), 1);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(kRunMainVariable))
        return velmorandi::Main(argc, argv);
    QApplication app(argc, argv);
    CommandLineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "command_line_test.moc"
