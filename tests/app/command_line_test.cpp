#include "command_line.h"
#include "startup.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

using velmorandi::CommandLine;
using velmorandi::parseCommandLine;

namespace {

const char kRunMainVariable[] = "VELMORANDI_TEST_RUN_MAIN";

using Action = CommandLine::Action;

struct Run {
    int status = -1;
    QByteArray out, err;
};

// The program's own start-up, in a child process.
Run runMain(const QStringList& arguments, bool withDisplay) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kRunMainVariable), QStringLiteral("1"));
    if (!withDisplay) {
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
    }
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), arguments);
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
};

void CommandLineTest::folderOptionsAndMistakesGnuStyle() {
    QTemporaryDir current;
    QVERIFY(current.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    const std::string here = QDir::currentPath().toStdString();

    const struct {
        std::vector<std::string> arguments;
        Action action;
        std::string folder;
    } runs[] = {
        {{}, Action::Run, ""},
        {{"photos"}, Action::Run, here + "/photos"},
        {{"photos/"}, Action::Run, here + "/photos"},
        {{"/a/./b/../c//"}, Action::Run, "/a/c"},
        {{"/"}, Action::Run, "/"},
        {{"-"}, Action::Run, here + "/-"},
        {{"--", "--help"}, Action::Run, here + "/--help"},
        {{std::string("caf\xe9 \xff")}, Action::Run, here + "/caf\xe9 \xff"},
        {{"--help"}, Action::ShowHelp, ""},
        {{"--he", "photos"}, Action::ShowHelp, ""},
        {{"photos", "--version"}, Action::ShowVersion, ""},
        {{"--v"}, Action::ShowVersion, ""},
    };
    for (const auto& run : runs) {
        const CommandLine parsed = parseCommandLine(run.arguments);
        QCOMPARE(parsed.action, run.action);
        QCOMPARE(parsed.folder, run.folder);
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
    QVERIFY2(help.out.startsWith("Usage: velmorandi [OPTION]... [FOLDER]\n"), help.out);
    QVERIFY(help.out.contains("--version"));
    QCOMPARE(help.err, QByteArray());

    const Run version = runMain({QStringLiteral("--version")}, false);
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, QByteArray::fromStdString(velmorandi::versionText()));
    QVERIFY(version.out.startsWith("velmorandi (Velmorandi) 1."));

    const Run extra = runMain({QStringLiteral("one"), QStringLiteral("two")}, false);
    QCOMPARE(extra.status, 1);
    QCOMPARE(extra.err, QByteArray("velmorandi: extra operand 'two'\n"
                                   "Try 'velmorandi --help' for more information.\n"));

    // Qt's own options are its own; a mistake is said on the error output, and no window opens.
    const Run mistake = runMain(
        {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-x")}, false);
    QCOMPARE(mistake.status, 1);
    QCOMPARE(mistake.out, QByteArray());
    QVERIFY2(mistake.err.endsWith("velmorandi: invalid option -- 'x'\n"
                                  "Try 'velmorandi --help' for more information.\n"),
             mistake.err);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(kRunMainVariable))
        return velmorandi::Main(argc, argv);
    QApplication app(argc, argv);
    CommandLineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "command_line_test.moc"
