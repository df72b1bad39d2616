#include "command_line.h"
#include "folder_handover.h"
#include "main/folder_list.h"
#include "main/main_window.h"
#include "main/window_test_support.h"
#include "paths.h"
#include "single_instance.h"
#include "startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using velmorandi::CommandLine;
using velmorandi::JoinPath;
using velmorandi::nativePath;
using velmorandi::parseCommandLine;
using velmorandi::test::native;

namespace {

const char kRunMainVariable[] = "VELMORANDI_TEST_RUN_MAIN";

using Action = CommandLine::Action;
using Mistake = CommandLine::Mistake;

struct Run {
    int status = -1;
    QByteArray out, err;
};

// In the language of `locale`, whatever the test's own.
void startMain(QProcess& child, const QStringList& arguments, bool withDisplay,
               const QString& locale = QStringLiteral("C.UTF-8")) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kRunMainVariable), QStringLiteral("1"));
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), locale);
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
Run runMain(const QStringList& arguments, bool withDisplay,
            const QString& locale = QStringLiteral("C.UTF-8")) {
    QProcess child;
    startMain(child, arguments, withDisplay, locale);
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
        QCOMPARE(parsed.mistake, Mistake::None);
    }

    const struct {
        std::vector<std::string> arguments;
        Mistake mistake;
        std::string mistaken;
    } mistakes[] = {
        {{"-x"}, Mistake::InvalidOption, "x"},
        {{"--frobnicate"}, Mistake::UnrecognizedOption, "--frobnicate"},
        {{"--"}, Mistake::None, ""},
        {{"--help=yes"}, Mistake::UnwantedArgument, "--help"},
        {{"one", "two"}, Mistake::ExtraOperand, "two"},
        {{"photos", "-platform"}, Mistake::MissingArgument, "-platform"},
        {{"-platformx", "offscreen"}, Mistake::InvalidOption, "p"},
    };
    for (const auto& mistake : mistakes) {
        const CommandLine parsed = parseCommandLine(mistake.arguments);
        QCOMPARE(parsed.action, mistake.mistake == Mistake::None ? Action::Run : Action::Refuse);
        QCOMPARE(parsed.mistake, mistake.mistake);
        QCOMPARE(parsed.mistaken, mistake.mistaken);
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
    QVERIFY(version.out.startsWith("velmorandi (Velmorandi) 1."));
    QVERIFY(version.out.endsWith(nativeLines("\nWritten by Ombrix.\n")));

    const Run extra = runMain({QStringLiteral("one"), QStringLiteral("two")}, false);
    QCOMPARE(extra.status, 2);
    QCOMPARE(extra.err, nativeLines("velmorandi: extra operand 'two'\n"
                                    "Try 'velmorandi --help' for more information.\n"));
    // In the language the user's locale names.
    const Run german = runMain({QStringLiteral("one"), QStringLiteral("two")}, false,
                               QStringLiteral("de_DE.UTF-8"));
    QCOMPARE(QString::fromLocal8Bit(german.err).replace("\r\n", "\n"),
             QString("velmorandi: zusätzlicher Operand 'two'\n"
                     "»velmorandi --help« liefert weitere Informationen.\n"));

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
                                            return velmorandi::handOverTo(window, folder, file);
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

    // During a run a folder waits for its end, and the second start hears so.
    QTemporaryDir third;
    velmorandi::test::createFiles(third.path(), {"t.txt"});
    QTest::keyClicks(window.findChild<QLineEdit*>("tText"), "x_");
    QTest::mouseClick(window.findChild<QRadioButton*>("oLeftText"), Qt::LeftButton);
    emit window.findChild<QLineEdit*>("tText")->returnPressed();
    velmorandi::test::HeldRun held;
    auto answer = velmorandi::HandoverAnswer::Refused;
    held.at(1, [&] {
        std::atomic<bool> answered{false};
        std::thread secondStart([&] {
            answer = velmorandi::handFolderOver(instance.folder(),
                                                velmorandi::test::native(third.path()), "t.txt");
            answered = true;
        });
        QTRY_VERIFY(answered);
        secondStart.join();
        QCOMPARE(dir1->path(), velmorandi::test::native(second));
    });
    window.setRunTesting(held.testing());
    QTest::mouseClick(window.findChild<QPushButton*>("CmdRename"), Qt::LeftButton);
    QCOMPARE(answer, velmorandi::HandoverAnswer::WhenFree);
    QTRY_COMPARE(dir1->path(), velmorandi::test::native(third.path()));
    QCOMPARE(grid->model()->index(0, 1).data().toString(), QString("t.txt"));
    QCOMPARE(velmorandi::test::filesOnDisk(second), QStringList({"x_1.txt", "x_2.txt", "x_3.txt"}));
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(kRunMainVariable))
        return velmorandi::Main(argc, argv);
    QApplication app(argc, argv);
    CommandLineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "command_line_test.moc"
