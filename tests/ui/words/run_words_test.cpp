#include "words/language.h"
#include "words/run_words.h"

#include "platform/name_limit.h"

#include <QScopeGuard>
#include <QTest>

using namespace velmorandi;

namespace {

RunNews stoppedBy(RunFailure::Kind kind, SystemError error) {
    RunNews news;
    news.kind = RunNews::Kind::NothingRenamed;
    news.failure.kind = kind;
    news.failure.folder = "/home/ann/photos";
    news.failure.from = "a.txt";
    news.failure.to = "b.txt";
    news.failure.error = std::move(error);
    return news;
}

// The system's code for a file another program holds.
int inUseCode() {
    int code = 1;
    while (platform::errorKind({code, {}}) != ErrorKind::InUse)
        ++code;
    return code;
}

RecoveryNote note(RecoveryNote::Kind kind, std::string folder, std::string record = {}) {
    RecoveryNote note;
    note.kind = kind;
    note.folder = std::move(folder);
    note.record = std::move(record);
    return note;
}

} // namespace

class RunWordsTest : public QObject {
    Q_OBJECT
  private slots:
    void englishTextsAsTheWindowShowsThem();
    void germanWithTheSystemErrorOrEnglishThroughout();
};

void RunWordsTest::englishTextsAsTheWindowShowsThem() {
    const Language c(QLocale::c());
    RunNews refused;
    refused.kind = RunNews::Kind::NamesRefused;
    // Windows' conventions only where they are the rules: elsewhere the system's and the program's.
    const QString conventions = platform::namesFollowWindowsRules()
                                    ? "Microsoft Windows filenaming conventions."
                                    : "the filenaming rules of Linux and Velmorandi.";
    QCOMPARE(words::runNews(refused),
             "Could not invoke rename process. Some edited filename conflicts with " + conventions +
                 "\r\n\r\nAlso check edited filename for no duplicacy and no blank wherever "
                 "status is marked for error.");
    QCOMPARE(words::runNews(RunNews{}), QString());
    QCOMPARE(words::runNews(stoppedBy(RunFailure::Kind::RenameFailed, {5, "Input/output error"})),
             QString("Could not rename a.txt to b.txt: Input/output error.\r\n\r\nNo file has been "
                     "renamed. Check that the file still exists and that the folder can be "
                     "written to."));

    // A file another program holds, and a run another computer took over.
    RunNews held = stoppedBy(RunFailure::Kind::RenameFailed, {inUseCode(), "busy"});
    QCOMPARE(words::runNews(held),
             QString("Could not rename a.txt to b.txt: busy.\r\n\r\nNo file has "
                     "been renamed: another program holds a.txt. Close it there, then click "
                     "Rename again; your edits are kept."));
    // Where the system names the programs that hold it.
    const QString open = "Could not rename a.txt to b.txt: busy.\r\n\r\nNo file has been renamed: "
                         "a.txt is open in %1. Close it there, then click Rename again; your "
                         "edits are kept.";
    held.failure.holders = {"Photos"};
    QCOMPARE(words::runNews(held), open.arg("Photos"));
    held.failure.holders = {"Photos", "Paint", "Mail", "Notepad"};
    QCOMPARE(words::runNews(held), open.arg("Photos, Paint, Mail and 1 more"));
    RunNews handedOver = stoppedBy(RunFailure::Kind::TakenOver, {});
    handedOver.kind = RunNews::Kind::HandedOver;
    QCOMPARE(words::runNews(handedOver),
             QString("Another computer took this rename over while this one was paused, and put "
                     "the names back. Nothing more has been renamed here.\r\n\r\nThe list "
                     "shows the folder as it is now."));

    // Three names at most, the rest counted.
    RunNews stopped = stoppedBy(RunFailure::Kind::Cancelled, {});
    stopped.kind = RunNews::Kind::NotRestored;
    for (const char* name : {"1", "2", "3", "4"})
        stopped.stillRenamed.push_back({name, std::string("x") + name});
    stopped.rollbackFailure.kind = RunFailure::Kind::LeftoverNotProven;
    stopped.rollbackFailure.from = "t";
    QCOMPARE(words::runNews(stopped),
             QString("The rename has been cancelled, and 4 files are still under new names: 1 is "
                     "now x1, 2 is now x2, 3 is now x3 and 1 more. Could not remove t, which a "
                     "step of this rename left: t is no longer what this rename left there.\r\n\r\n"
                     "They get their old names back the next time Velmorandi starts, or when you "
                     "open the folder again."));

    // One line a run, then one advice; a newer version's record is kept.
    RecoveryReport report;
    RecoveryNote restored = note(RecoveryNote::Kind::Restored, "/p");
    restored.here = "/q";
    restored.files = 3;
    report.notes = {restored, note(RecoveryNote::Kind::NewerFormat, {}, "/r/run.journal")};
    QCOMPARE(words::recoveryReport(report),
             QString("A rename in /p (now at /q) was interrupted; 3 files got their old names "
                     "back.\r\nThe record of a rename at /r/run.journal was written by a newer "
                     "version of Velmorandi, so nothing was renamed from it; it is kept for that "
                     "version.\r\n\r\nCheck those files before renaming in those folders again."));
    report.notes.pop_back();
    QVERIFY(words::recoveryReport(report).endsWith(
        "\r\n\r\nYou can rename them again whenever you are ready."));
    QCOMPARE(words::recoveryReport(RecoveryReport{}), QString());

    platform::RecordFolderProblem nowhere{
        platform::RecordFolderProblem::Kind::NoLocation, "~/.local/state/velmorandi", {}};
    nowhere.unsetVariables = {"HOME", "XDG_STATE_HOME"};
    QCOMPARE(words::recoveryReport(RecoveryReport{{}, nowhere}),
             QString("Velmorandi keeps the records that make a rename safe in "
                     "~/.local/state/velmorandi, but it cannot be made: neither HOME nor "
                     "XDG_STATE_HOME is set. Until that is mended, no file is renamed, restored or "
                     "undone.\r\n\r\nSet HOME, or XDG_STATE_HOME, to a folder of yours and start "
                     "Velmorandi again."));
}

void RunWordsTest::germanWithTheSystemErrorOrEnglishThroughout() {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
    const Language german(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(words::runNews(
                 stoppedBy(RunFailure::Kind::FolderUnreadable, {2, "No such file or directory"})),
             QString("Der Ordner /home/ann/photos konnte nicht gelesen werden: Datei oder Ordner "
                     "nicht gefunden.\r\n\r\nKeine Datei wurde umbenannt. Prüfen Sie, ob es den "
                     "Ordner noch gibt und ob er gelesen werden kann."));
    QCOMPARE(
        words::runNews(stoppedBy(RunFailure::Kind::FolderUnreadable, {9999, "Unknown error 9999"})),
        QString("Could not read the folder /home/ann/photos: Unknown error 9999.\r\n\r\nNo "
                "file has been renamed. Check that the folder still exists and can be read."));
    RunNews held = stoppedBy(RunFailure::Kind::RenameFailed, {inUseCode(), "busy"});
    held.failure.holders = {"Fotos"};
    QVERIFY(words::runNews(held).endsWith(
        "\r\n\r\nKeine Datei wurde umbenannt: a.txt ist in Fotos geöffnet. Schließen Sie die "
        "Datei dort und klicken Sie dann erneut auf Umbenennen; Ihre Änderungen bleiben "
        "erhalten."));
    RecoveryNote restored = note(RecoveryNote::Kind::Restored, "/p");
    restored.files = 1234;
    QCOMPARE(words::recoveryReport(RecoveryReport{{restored}, std::nullopt}),
             QString("Ein Umbenennen in /p wurde unterbrochen; 1.234 Dateien haben ihre alten "
                     "Namen zurückerhalten.\r\n\r\nSie können sie jederzeit erneut umbenennen."));
}

QTEST_MAIN(RunWordsTest)
#include "run_words_test.moc"
