#include "words/run_words.h"

#include "words/system_error_words.h"

#include "platform/name_limit.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

namespace velmorandi::words {

namespace {

constexpr const char* kContext = "RunWords";
const QString kParagraph = QStringLiteral("\r\n\r\n");

bool isSet(const SystemError& error) {
    return error.code != 0 || !error.reason.empty();
}

bool showsError(const platform::RecordFolderProblem& problem) {
    using Kind = platform::RecordFolderProblem::Kind;
    return problem.kind == Kind::NoLocation || problem.kind == Kind::Unreachable;
}

// The words of one message. Every system error it shows takes the message's
// language; where one has no words in it, the whole message stays English.
class Speaker {
  public:
    void carry(const SystemError& error) {
        if (isSet(error) && ErrorWording(error).inEnglish())
            m_english = true;
    }
    void carry(const RunFailure& failure) {
        carry(failure.error);
        if (failure.problem && showsError(*failure.problem))
            carry(failure.problem->error);
    }

    QString operator()(const char* source) const {
        return m_english ? QString::fromUtf8(source)
                         : QCoreApplication::translate(kContext, source);
    }
    QString error(const SystemError& error) const {
        return m_english ? QString::fromStdString(error.reason) : ErrorWording(error).error();
    }

  private:
    bool m_english = false;
};

QString text(const std::string& bytes) {
    return QString::fromStdString(bytes);
}

QString number(std::size_t count) {
    return QLocale().toString(static_cast<qulonglong>(count));
}

// A few names, then "and N more": the message window has room for no more.
QString nameList(const Speaker& say, const QStringList& names, qsizetype shown) {
    QStringList listed = names.mid(0, shown);
    QString joined = listed.join(QStringLiteral(", "));
    if (names.size() > shown)
        joined = say(QT_TRANSLATE_NOOP("RunWords", "%1 and %2 more"))
                     .arg(joined, number(static_cast<std::size_t>(names.size() - shown)));
    return joined;
}

QString nameList(const Speaker& say, const std::vector<std::string>& names, qsizetype shown) {
    QStringList list;
    for (const std::string& name : names)
        list.push_back(text(name));
    return nameList(say, list, shown);
}

QString nameList(const Speaker& say, const std::vector<NameNow>& names, qsizetype shown) {
    QStringList list;
    for (const NameNow& name : names)
        list.push_back(say(QT_TRANSLATE_NOOP("RunWords", "%1 is now %2"))
                           .arg(text(name.listed), text(name.current)));
    return nameList(say, list, shown);
}

// Why the environment names no folder of records.
QString unsetVariables(const Speaker& say, const platform::RecordFolderProblem& problem) {
    const std::vector<std::string>& unset = problem.unsetVariables;
    if (unset.empty())
        return say(QT_TRANSLATE_NOOP("RunWords", "no folder of records was given"));
    if (unset.size() == 1)
        return say(QT_TRANSLATE_NOOP("RunWords", "the %1 environment variable is not set"))
            .arg(text(unset[0]));
    return say(QT_TRANSLATE_NOOP("RunWords", "neither %1 nor %2 is set"))
        .arg(text(unset[0]), text(unset[1]));
}

// Why the folder of records cannot be trusted, and what to do about it.
QString whyUnusable(const Speaker& say, const platform::RecordFolderProblem& problem) {
    using Kind = platform::RecordFolderProblem::Kind;
    switch (problem.kind) {
    case Kind::NoLocation:
        return say(QT_TRANSLATE_NOOP("RunWords", "it cannot be made: %1"))
            .arg(isSet(problem.error) ? say.error(problem.error) : unsetVariables(say, problem));
    case Kind::Unreachable:
        return say(QT_TRANSLATE_NOOP("RunWords", "it cannot be made or opened: %1"))
            .arg(say.error(problem.error));
    case Kind::NotAFolder:
        return say(QT_TRANSLATE_NOOP("RunWords", "something that is not a folder bears its name"));
    case Kind::Link:
        return say(QT_TRANSLATE_NOOP(
            "RunWords", "it is reached through a symbolic link, which another user could change"));
    case Kind::OtherOwner:
        return say(QT_TRANSLATE_NOOP("RunWords", "it belongs to another user"));
    case Kind::OthersMayWrite:
        return say(QT_TRANSLATE_NOOP("RunWords", "other users may write to it"));
    }
    return {};
}

QString adviceFor(const Speaker& say, const platform::RecordFolderProblem& problem) {
    using Kind = platform::RecordFolderProblem::Kind;
    switch (problem.kind) {
    case Kind::NoLocation:
        return say(QT_TRANSLATE_NOOP(
            "RunWords",
            "Set HOME, or XDG_STATE_HOME, to a folder of yours and start Velmorandi again."));
    case Kind::Unreachable:
        return say(QT_TRANSLATE_NOOP("RunWords", "Check that the folder can be made and written "
                                                 "to, and that its drive is not full."));
    case Kind::NotAFolder:
    case Kind::Link:
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "Move that entry out of the way, or set XDG_STATE_HOME to a "
                                     "folder of yours, and start Velmorandi again."));
    case Kind::OtherOwner:
        // Run as root over a user's folder (sudo -E), the program belongs in
        // that user's session: handing the folder to root would only move the fault.
        if (problem.runningAsAdministrator)
            return say(QT_TRANSLATE_NOOP("RunWords",
                                         "Start Velmorandi as %1, the user who owns it, without "
                                         "sudo."))
                .arg(text(problem.owner));
        if (problem.ownerIsAdministrator)
            return say(QT_TRANSLATE_NOOP("RunWords",
                                         "An administrator's session made it: give it back to "
                                         "you (for example: sudo chown -R \"$USER\" %1) and start "
                                         "Velmorandi again."))
                .arg(text(problem.folder));
        return say(QT_TRANSLATE_NOOP("RunWords", "Start Velmorandi as %1, the user who owns it."))
            .arg(text(problem.owner));
    case Kind::OthersMayWrite:
        return say(QT_TRANSLATE_NOOP("RunWords", "Close it to other users (for example: chmod 700 "
                                                 "%1) and start Velmorandi again."))
            .arg(text(problem.folder));
    }
    return {};
}

QString recordsUnusable(const Speaker& say, const platform::RecordFolderProblem& problem) {
    return say(QT_TRANSLATE_NOOP("RunWords",
                                 "Velmorandi keeps the records that make a rename safe in %1, but "
                                 "%2. Until that is mended, no file is renamed, restored or "
                                 "undone."))
               .arg(text(problem.folder), whyUnusable(say, problem)) +
           kParagraph + adviceFor(say, problem);
}

// Why a run stopped, as a sentence of its own without its final period.
QString failureSentence(const Speaker& say, const RunFailure& failure) {
    using Kind = RunFailure::Kind;
    switch (failure.kind) {
    case Kind::FolderUnreadable:
        return say(QT_TRANSLATE_NOOP("RunWords", "Could not read the folder %1: %2"))
            .arg(text(failure.folder), say.error(failure.error));
    case Kind::RenameFailed:
        return say(QT_TRANSLATE_NOOP("RunWords", "Could not rename %1 to %2: %3"))
            .arg(text(failure.from), text(failure.to), say.error(failure.error));
    case Kind::NameTaken:
        return say(QT_TRANSLATE_NOOP("RunWords", "Could not rename %1 to %2: another program has "
                                                 "given that name to a file or folder meanwhile"))
            .arg(text(failure.from), text(failure.to));
    case Kind::RecordUnwritable:
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "Could not write a record of the renames to %1: %2"))
            .arg(text(failure.folder), say.error(failure.error));
    case Kind::RecordsUnusable:
        if (!failure.problem)
            break;
        return say(QT_TRANSLATE_NOOP("RunWords", "Velmorandi cannot keep its records in %1: %2"))
            .arg(text(failure.problem->folder), whyUnusable(say, *failure.problem));
    case Kind::SyncFailed:
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "Could not make the renames in %1 last on its drive: %2"))
            .arg(text(failure.folder), say.error(failure.error));
    case Kind::Cancelled:
    case Kind::UndoCancelled:
    case Kind::RedoCancelled:
        return say(QT_TRANSLATE_NOOP("RunWords", "The rename has been cancelled"));
    case Kind::LeftoverNotRemoved:
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "Could not remove %1, which a step of this rename left: %2"))
            .arg(text(failure.from), say.error(failure.error));
    case Kind::LeftoverNotProven:
        return say(QT_TRANSLATE_NOOP("RunWords", "Could not remove %1, which a step of this rename "
                                                 "left: %1 is no longer what this rename left "
                                                 "there"))
            .arg(text(failure.from));
    case Kind::TakenOver:
        return say(QT_TRANSLATE_NOOP("RunWords", "Another computer took this rename over while "
                                                 "this one was paused"));
    case Kind::OwnershipUnconfirmed:
        return say(QT_TRANSLATE_NOOP("RunWords", "This computer could not confirm in time that it "
                                                 "still holds the record of this rename in %1"))
            .arg(text(failure.folder));
    case Kind::ProgramFolder:
        return say(QT_TRANSLATE_NOOP("RunWords", "%1 is the folder Velmorandi runs from"))
            .arg(text(failure.folder));
    case Kind::None:
        break;
    }
    return {};
}

// The record is another process's now: what that one does, and what the user sees.
QString handedOver(const Speaker& say, const RunFailure& failure) {
    const QString stopped = failureSentence(say, failure);
    if (failure.kind == RunFailure::Kind::TakenOver)
        return say(QT_TRANSLATE_NOOP("RunWords", "%1, and put the names back. Nothing more has "
                                                 "been renamed here."))
                   .arg(stopped) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "The list shows the folder as it is now."));
    return say(QT_TRANSLATE_NOOP("RunWords", "%1. The rename has been stopped, and nothing more "
                                             "has been renamed."))
               .arg(stopped) +
           kParagraph +
           say(QT_TRANSLATE_NOOP("RunWords", "Files that still bear new names get their old "
                                             "names back the next time Velmorandi starts."));
}

// Where the system names the programs that hold the file, the user knows where to close it.
QString heldFile(const Speaker& say, const RunFailure& failure) {
    if (failure.holders.empty())
        return say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed: another program holds "
                                                 "%1. Close it there, then click Rename again; "
                                                 "your edits are kept."))
            .arg(text(failure.from));
    return say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed: %1 is open in %2. Close "
                                             "it there, then click Rename again; your edits are "
                                             "kept."))
        .arg(text(failure.from), nameList(say, failure.holders, 3));
}

// A run that stopped before any file kept a new name.
QString nothingRenamed(const Speaker& say, const RunFailure& failure) {
    using Kind = RunFailure::Kind;
    const QString stopped = failureSentence(say, failure) + QLatin1Char('.') + kParagraph;
    switch (failure.kind) {
    case Kind::FolderUnreadable:
        return stopped + say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed. Check that "
                                                           "the folder still exists and can be "
                                                           "read."));
    case Kind::NameTaken:
        return stopped + say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed. Rename or "
                                                           "move that %1, then click Rename "
                                                           "again."))
                             .arg(text(failure.to));
    case Kind::RecordUnwritable:
        return stopped + say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed. Check that "
                                                           "the folder can be written to and that "
                                                           "its drive is not full."));
    case Kind::RecordsUnusable:
        if (failure.problem)
            return recordsUnusable(say, *failure.problem);
        break;
    case Kind::ProgramFolder:
        return stopped + say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed: Velmorandi "
                                                           "does not rename its own files, which "
                                                           "it needs to start. Choose a folder of "
                                                           "your own files."));
    case Kind::Cancelled:
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "The rename has been cancelled. No file has been renamed.")) +
               kParagraph + say(QT_TRANSLATE_NOOP("RunWords", "Click Rename to start it again."));
    case Kind::UndoCancelled:
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "The undo has been cancelled. Every file keeps its new "
                                     "name.")) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "Press Ctrl+Z to undo the rename again."));
    case Kind::RedoCancelled:
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "The rename has been cancelled. No file has been renamed.")) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "Press Ctrl+Y to rename them again."));
    case Kind::RenameFailed:
        if (platform::errorKind(failure.error) == ErrorKind::InUse)
            return stopped + heldFile(say, failure);
        break;
    case Kind::SyncFailed:
    case Kind::LeftoverNotRemoved:
    case Kind::LeftoverNotProven:
    case Kind::TakenOver:
    case Kind::OwnershipUnconfirmed:
    case Kind::None:
        break;
    }
    return stopped + say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed. Check that the "
                                                       "file still exists and that the folder "
                                                       "can be written to."));
}

QString notRestored(const Speaker& say, const RunNews& news) {
    const QString failure = failureSentence(say, news.failure);
    const QString rollback =
        news.rollbackFailure.kind == RunFailure::Kind::None
            ? QString()
            : QLatin1Char(' ') + failureSentence(say, news.rollbackFailure) + QLatin1Char('.');
    const std::size_t still = news.stillRenamed.size();
    if (still == 0)
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "%1, and the folder could not be checked afterwards."))
                   .arg(failure) +
               rollback + kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "If some files still bear new names, they get "
                                                 "their old names back the next time Velmorandi "
                                                 "starts, or when you open the folder again."));
    const QString names = nameList(say, news.stillRenamed, 3);
    const QString stopped =
        still == 1
            ? say(QT_TRANSLATE_NOOP("RunWords", "%1, and 1 file is still under new names: %2."))
                  .arg(failure, names)
            : say(QT_TRANSLATE_NOOP("RunWords", "%1, and %2 files are still under new names: %3."))
                  .arg(failure, number(still), names);
    return stopped + rollback + kParagraph +
           say(QT_TRANSLATE_NOOP("RunWords", "They get their old names back the next time "
                                             "Velmorandi starts, or when you open the folder "
                                             "again."));
}

// The first sentence of an undo's, or a redo's, refusal.
QString couldNotTakeBack(const Speaker& say, const RunNews& news) {
    return (news.redo ? say(QT_TRANSLATE_NOOP(
                            "RunWords", "Could not rename again the files of the last undo in %1"))
                      : say(QT_TRANSLATE_NOOP("RunWords", "Could not undo the last rename in %1")))
        .arg(text(news.folder));
}

QString takeBackRefused(const Speaker& say, const RunNews& news) {
    using Kind = RunNews::Kind;
    const QString couldNot = couldNotTakeBack(say, news);
    switch (news.kind) {
    case Kind::TakeBackFolderReplaced:
        return say(QT_TRANSLATE_NOOP("RunWords", "%1: it is not the folder that rename was made "
                                                 "in; that one has been moved or replaced "
                                                 "since."))
                   .arg(couldNot) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed. Open the folder where "
                                                 "it is now and try there."));
    case Kind::TakeBackFileGone:
        return say(QT_TRANSLATE_NOOP("RunWords", "%1: %2 is no longer in the folder."))
                   .arg(couldNot, text(news.name)) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed. Put %1 back and try "
                                                 "again, or give the files the names you want "
                                                 "with a new rename."))
                   .arg(text(news.name));
    case Kind::TakeBackFileReplaced:
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "%1: %2 is now another file than the one that bore %3."))
                   .arg(couldNot, text(news.name), text(news.oldName)) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed. Give the files the "
                                                 "names you want with a new rename."));
    default:
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "%1: the name %2 is now taken by another file or folder."))
                   .arg(couldNot, text(news.oldName)) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "No file has been renamed. Rename or move that "
                                                 "entry, then try again."));
    }
}

QString undone(const Speaker& say, std::size_t files) {
    if (files == 1)
        return say(QT_TRANSLATE_NOOP("RunWords", "1 file has its old name again.")) + kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "Press Ctrl+Y to rename it again."));
    return say(QT_TRANSLATE_NOOP("RunWords", "%1 files have their old names again."))
               .arg(number(files)) +
           kParagraph + say(QT_TRANSLATE_NOOP("RunWords", "Press Ctrl+Y to rename them again."));
}

// Only the Windows build refuses names by Windows' conventions; elsewhere the
// system's rules and the program's own refuse them.
QString namesRefused(const Speaker& say) {
    if (platform::namesFollowWindowsRules())
        return say(QT_TRANSLATE_NOOP("RunWords", "Could not invoke rename process. Some edited "
                                                 "filename conflicts with Microsoft Windows "
                                                 "filenaming conventions."));
    return say(QT_TRANSLATE_NOOP("RunWords", "Could not invoke rename process. Some edited "
                                             "filename conflicts with the filenaming rules of "
                                             "Linux and Velmorandi."));
}

// Rename refused before anything was touched.
QString namesNotTaken(const Speaker& say, const RunNews& news) {
    if (news.kind == RunNews::Kind::NamesRefused)
        return namesRefused(say) + kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "Also check edited filename for no duplicacy and "
                                                 "no blank wherever status is marked for error."));
    return say(QT_TRANSLATE_NOOP("RunWords", "Could not invoke rename process. Some edited "
                                             "filename is already taken by another file or "
                                             "folder in this folder.")) +
           kParagraph +
           say(QT_TRANSLATE_NOOP("RunWords",
                                 "Choose another name wherever status is marked for error."));
}

// Every file renamed, and something went wrong after.
QString renamedButNews(const Speaker& say, const RunNews& news) {
    using Kind = RunNews::Kind;
    if (news.kind == Kind::RenamedButUnmarked)
        return say(QT_TRANSLATE_NOOP("RunWords", "Every file has its new name, but the record of "
                                                 "this rename could not be marked complete. "
                                                 "%1."))
                   .arg(failureSentence(say, news.failure)) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "Velmorandi completes the record the next time it "
                                                 "starts; until then this rename cannot be "
                                                 "undone."));
    if (news.kind == Kind::MissingAfterRun)
        return say(QT_TRANSLATE_NOOP(
                       "RunWords",
                       "These edited filenames are not in the folder after renaming: %1."))
                   .arg(nameList(say, news.names, 5)) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "The file system may have changed or ignored "
                                                 "them. Check the folder before renaming again."));
    return say(QT_TRANSLATE_NOOP("RunWords", "The files have been renamed, but the folder "
                                             "could not be read again: %1. The list has been "
                                             "emptied, so that no file is renamed from an old "
                                             "name."))
               .arg(say.error(news.error)) +
           kParagraph +
           say(QT_TRANSLATE_NOOP("RunWords", "Open the folder again to see its files."));
}

// Undo or redo found nothing it may take back.
QString nothingToTakeBack(const Speaker& say, const RunNews& news) {
    using Kind = RunNews::Kind;
    if (news.kind == Kind::NothingToUndo)
        return say(QT_TRANSLATE_NOOP("RunWords", "There is no rename to undo in the folder %1."))
                   .arg(text(news.folder)) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords",
                                     "Only the last rename of a folder can be undone, and only "
                                     "once."));
    if (news.kind == Kind::NothingToRedo)
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "There is no undone rename to rename again in the folder %1."))
                   .arg(text(news.folder)) +
               kParagraph +
               say(QT_TRANSLATE_NOOP("RunWords", "Only the last undo of a folder can be taken "
                                                 "back, and only once."));
    return say(QT_TRANSLATE_NOOP("RunWords", "The last rename in %1 is being worked on by "
                                             "another Velmorandi window."))
               .arg(text(news.folder)) +
           kParagraph +
           say(QT_TRANSLATE_NOOP("RunWords", "Wait until it has finished, then try again."));
}

QString wordNews(const Speaker& say, const RunNews& news) {
    using Kind = RunNews::Kind;
    switch (news.kind) {
    case Kind::None:
        return {};
    case Kind::NamesRefused:
    case Kind::NamesTaken:
        return namesNotTaken(say, news);
    case Kind::NothingRenamed:
        return nothingRenamed(say, news.failure);
    case Kind::NotRestored:
        return notRestored(say, news);
    case Kind::HandedOver:
        return handedOver(say, news.failure);
    case Kind::RenamedButUnmarked:
    case Kind::MissingAfterRun:
    case Kind::ReloadFailed:
        return renamedButNews(say, news);
    case Kind::Undone:
        return undone(say, news.files);
    case Kind::NothingToUndo:
    case Kind::NothingToRedo:
    case Kind::RecordInUse:
        return nothingToTakeBack(say, news);
    case Kind::TakeBackFolderReplaced:
    case Kind::TakeBackFileGone:
    case Kind::TakeBackFileReplaced:
    case Kind::TakeBackNameTaken:
        return takeBackRefused(say, news);
    }
    return {};
}

// Recovery ------------------------------------------------------------------

// A folder as the user knows it now: where it stayed, or where it was moved.
QString movedFolder(const Speaker& say, const RecoveryNote& note) {
    if (note.here.empty() || note.here == note.folder)
        return text(note.folder);
    return say(QT_TRANSLATE_NOOP("RunWords", "%1 (now at %2)"))
        .arg(text(note.folder), text(note.here));
}

// Nothing to put back says nothing of how the run ended: it may not have
// begun, or its record may have outlived its rollback.
QString restored(const Speaker& say, const QString& folder, std::size_t files) {
    if (files == 0)
        return say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 did not finish; every file there "
                                                 "has its old name."))
            .arg(folder);
    if (files == 1)
        return say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 was interrupted; 1 file got its "
                                                 "old name back."))
            .arg(folder);
    return say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 was interrupted; %2 files got their "
                                             "old names back."))
        .arg(folder, number(files));
}

QString restoredElsewhere(const Speaker& say, const RecoveryNote& note) {
    const QString journaled = text(note.folder);
    const QString here = text(note.here);
    QString sentence;
    if (note.files == 0)
        sentence = say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 was interrupted; in %2, which "
                                                     "may be a copy of it, every file has its old "
                                                     "name."))
                       .arg(journaled, here);
    else if (note.files == 1)
        sentence = say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 was interrupted; in %2, which "
                                                     "may be a copy of it, 1 file got its old name "
                                                     "back."))
                       .arg(journaled, here);
    else
        sentence = say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 was interrupted; in %2, which "
                                                     "may be a copy of it, %3 files got their old "
                                                     "names back."))
                       .arg(journaled, here, number(note.files));
    return sentence + QLatin1Char(' ') +
           say(QT_TRANSLATE_NOOP("RunWords",
                                 "Its record is kept at %1 until %2 itself can be read and put "
                                 "right."))
               .arg(text(note.record), journaled);
}

QString restoredInPart(const Speaker& say, const QString& folder, const RecoveryNote& note) {
    QString sentence =
        note.files == 1
            ? say(QT_TRANSLATE_NOOP("RunWords",
                                    "A rename in %1 was interrupted; 1 file got its old name back"))
                  .arg(folder)
            : say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 was interrupted; %2 files got "
                                                "their old names back"))
                  .arg(folder, number(note.files));
    if (!note.stillRenamed.empty())
        sentence += say(QT_TRANSLATE_NOOP("RunWords", ", %1 could not: %2"))
                        .arg(number(note.stillRenamed.size()), nameList(say, note.stillRenamed, 3));
    if (!note.missing.empty())
        sentence += say(QT_TRANSLATE_NOOP("RunWords", "; not found there: %1"))
                        .arg(nameList(say, note.missing, 3));
    return sentence + say(QT_TRANSLATE_NOOP("RunWords", ". Its record is kept at %1 and tried "
                                                        "again at the next start."))
                          .arg(text(note.record));
}

QString notPutBack(const Speaker& say, const QString& folder, const RecoveryNote& note) {
    QString sentence = say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 was interrupted, and its "
                                                         "files could not all get their old names "
                                                         "back. %2."))
                           .arg(folder, failureSentence(say, note.failure));
    const std::size_t still = note.stillRenamed.size();
    if (still == 1)
        sentence += QLatin1Char(' ') +
                    say(QT_TRANSLATE_NOOP("RunWords", "1 file is still under new names: %1."))
                        .arg(nameList(say, note.stillRenamed, 5));
    else if (still > 1)
        sentence += QLatin1Char(' ') +
                    say(QT_TRANSLATE_NOOP("RunWords", "%1 files are still under new names: %2."))
                        .arg(number(still), nameList(say, note.stillRenamed, 5));
    return sentence + QLatin1Char(' ') +
           say(QT_TRANSLATE_NOOP("RunWords",
                                 "Its record is kept, and it is tried again at the next start."));
}

QString leftForeign(const Speaker& say, const QString& folder, const RecoveryNote& note) {
    const char* source =
        note.isFolder
            ? QT_TRANSLATE_NOOP("RunWords",
                                "A rename in %1 was interrupted, but %2 there is a folder that "
                                "rename cannot prove it made, and it keeps the names from showing "
                                "how far the rename got; so nothing was renamed, and %2 was left "
                                "as it is. Its record is kept at %3: move %2 out of the folder, "
                                "then open the folder again.")
            : QT_TRANSLATE_NOOP("RunWords",
                                "A rename in %1 was interrupted, but %2 there is a file that "
                                "rename cannot prove it made, and it keeps the names from showing "
                                "how far the rename got; so nothing was renamed, and %2 was left "
                                "as it is. Its record is kept at %3: move %2 out of the folder, "
                                "then open the folder again.");
    return say(source).arg(folder, text(note.name), text(note.record));
}

// Only the user may tell an empty file of another program's from the
// run's placeholder that a stop caught before its mark was written.
QString leftUnmarked(const Speaker& say, const QString& folder, const RecoveryNote& note) {
    QString sentence =
        say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 was interrupted while it made a "
                                          "placeholder, and an empty or unfinished file %2 "
                                          "lies there now. The rename cannot prove it made "
                                          "that file: another program may have."))
            .arg(folder, text(note.name));
    if (note.files > 0)
        sentence += QLatin1Char(' ') +
                    (note.files == 1
                         ? say(QT_TRANSLATE_NOOP("RunWords", "1 file got its old name back."))
                         : say(QT_TRANSLATE_NOOP("RunWords", "%1 files got their old names back."))
                               .arg(number(note.files)));
    if (!note.stillRenamed.empty())
        sentence +=
            QLatin1Char(' ') +
            say(QT_TRANSLATE_NOOP("RunWords", "While %1 is there, these keep their new names: %2."))
                .arg(text(note.name), nameList(say, note.stillRenamed, 3));
    return sentence + QLatin1Char(' ') +
           say(QT_TRANSLATE_NOOP("RunWords", "%1 was left as it is, and the record is kept at "
                                             "%2."))
               .arg(text(note.name), text(note.record));
}

// Why a record could not be used.
QString faultOf(const Speaker& say, const RecordFault& fault) {
    using Refusal = platform::RecordRefusal;
    switch (fault.kind) {
    case RecordFault::Kind::Damaged:
        return say(QT_TRANSLATE_NOOP("RunWords", "a part of it is damaged"));
    case RecordFault::Kind::CutShort:
        return say(QT_TRANSLATE_NOOP("RunWords", "it ends before its plan does"));
    case RecordFault::Kind::OtherFormat:
        return say(QT_TRANSLATE_NOOP("RunWords", "another version of Velmorandi wrote it"));
    case RecordFault::Kind::Refused:
        break;
    }
    switch (fault.refusal) {
    case Refusal::Link:
        return say(QT_TRANSLATE_NOOP("RunWords", "it is a link"));
    case Refusal::NotPlain:
        return say(QT_TRANSLATE_NOOP("RunWords", "it is not a plain file"));
    case Refusal::OtherOwner:
        return say(QT_TRANSLATE_NOOP("RunWords", "it belongs to another user"));
    case Refusal::OthersMayWrite:
        return say(QT_TRANSLATE_NOOP("RunWords", "other users may write to it"));
    case Refusal::TooLarge:
        return say(
            QT_TRANSLATE_NOOP("RunWords", "it is larger than any record this program writes"));
    case Refusal::Replaced:
        return say(QT_TRANSLATE_NOOP("RunWords", "it was replaced while it was being opened"));
    case Refusal::None:
        break;
    }
    return say(QT_TRANSLATE_NOOP("RunWords", "it cannot be read"));
}

QString mayStillBear(const Speaker& say, const RecoveryNote& note) {
    if (note.folder.empty())
        return {};
    return QLatin1Char(' ') +
           say(QT_TRANSLATE_NOOP("RunWords",
                                 "Files in %1 may still bear the names that rename gave them."))
               .arg(text(note.folder));
}

// An interrupted run whose folder could not be put right where it was opened.
QString leftInterrupted(const Speaker& say, const QString& folder, const RecoveryNote& note) {
    using Kind = RecoveryNote::Kind;
    if (note.kind == Kind::FolderAway)
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "A rename in %1 was interrupted, and that folder cannot be "
                                     "reached: %2. Its record is kept: open the folder where it "
                                     "is now, or start Velmorandi again once it can be reached, "
                                     "and its files get their old names back."))
            .arg(folder, say.error(note.error));
    if (note.kind == Kind::FolderReplaced)
        return say(QT_TRANSLATE_NOOP("RunWords",
                                     "A rename in %1 was interrupted, but the folder there now is "
                                     "another one, so nothing in it was renamed. Its record is "
                                     "kept: open the folder where it is now and its files get "
                                     "their old names back."))
            .arg(folder);
    return say(QT_TRANSLATE_NOOP("RunWords",
                                 "A rename in %1 was interrupted, but the names there do not "
                                 "show how far it got, so nothing was renamed. Its record is "
                                 "kept at %2; if the folder was moved, open it where it is "
                                 "now."))
        .arg(folder, text(note.record));
}

// A run that had finished, with a record that could not be kept for undo as it was.
QString finishedRecord(const Speaker& say, const RecoveryNote& note) {
    using Kind = RecoveryNote::Kind;
    if (note.kind == Kind::FinishedButDamaged)
        return say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 had finished, but its record is "
                                                 "damaged; it is kept at %2, and that rename can "
                                                 "no longer be undone."))
            .arg(text(note.folder), text(note.record));
    if (note.kind == Kind::FinishedNotSetAside)
        return say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 had finished, but its record at "
                                                 "%2 is damaged and could not be set aside (%3); "
                                                 "that rename can no longer be undone."))
            .arg(text(note.folder), text(note.record), say.error(note.error));
    return say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 had finished, but its record at "
                                             "%2 could not be marked complete (%3); it is "
                                             "tried again at the next start."))
        .arg(text(note.folder), text(note.record), say.error(note.error));
}

QString runningElsewhere(const Speaker& say, const RecoveryNote& note) {
    if (note.host.empty())
        return say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 is being made by Velmorandi "
                                                 "on another computer, so it was left alone."))
            .arg(text(note.folder));
    return say(QT_TRANSLATE_NOOP("RunWords", "A rename in %1 is being made by Velmorandi on "
                                             "%2, so it was left alone."))
        .arg(text(note.folder), text(note.host));
}

// A record nothing was renamed from: unreadable, unusable or another version's.
QString recordNotUsed(const Speaker& say, const RecoveryNote& note) {
    using Kind = RecoveryNote::Kind;
    switch (note.kind) {
    case Kind::RecordUnreadable:
        return say(QT_TRANSLATE_NOOP("RunWords", "The record of a rename at %1 could not be read: "
                                                 "%2. It is kept, and tried again at the next "
                                                 "start."))
            .arg(text(note.record), say.error(note.error));
    case Kind::RecordSetAside:
        return say(QT_TRANSLATE_NOOP("RunWords", "A record of a rename could not be used (%1), so "
                                                 "nothing was renamed from it; it is kept at "
                                                 "%2."))
                   .arg(faultOf(say, note.fault), text(note.record)) +
               mayStillBear(say, note);
    case Kind::RecordNotSetAside:
        return say(QT_TRANSLATE_NOOP("RunWords", "A record of a rename could not be used (%1), so "
                                                 "nothing was renamed from it; it could not be "
                                                 "set aside either (%2), and stays at %3."))
                   .arg(faultOf(say, note.fault), say.error(note.error), text(note.record)) +
               mayStillBear(say, note);
    case Kind::NewerFormat:
        return say(QT_TRANSLATE_NOOP("RunWords", "The record of a rename at %1 was written by a "
                                                 "newer version of Velmorandi, so nothing was "
                                                 "renamed from it; it is kept for that version."))
            .arg(text(note.record));
    default: // a record that never began
        return say(QT_TRANSLATE_NOOP("RunWords", "The record of a rename that never began, at %1, "
                                                 "could not be removed (%2); it is tried again at "
                                                 "the next start."))
            .arg(text(note.record), say.error(note.error));
    }
}

QString noteSentence(const Speaker& say, const RecoveryNote& note) {
    using Kind = RecoveryNote::Kind;
    const QString folder = movedFolder(say, note);
    switch (note.kind) {
    case Kind::Restored:
        return restored(say, folder, note.files);
    case Kind::RestoredRecordLeft:
        return restored(say, folder, note.files) + QLatin1Char(' ') +
               say(QT_TRANSLATE_NOOP("RunWords", "Its record at %1 could not be removed (%2); it "
                                                 "is tried again at the next start."))
                   .arg(text(note.record), say.error(note.error));
    case Kind::RestoredElsewhere:
        return restoredElsewhere(say, note);
    case Kind::RestoredInPart:
        return restoredInPart(say, folder, note);
    case Kind::FolderAway:
    case Kind::FolderReplaced:
    case Kind::Unproven:
        return leftInterrupted(say, folder, note);
    case Kind::LeftForeign:
        return leftForeign(say, folder, note);
    case Kind::LeftUnmarked:
        return leftUnmarked(say, folder, note);
    case Kind::NotPutBack:
        return notPutBack(say, folder, note);
    case Kind::FinishedButDamaged:
    case Kind::FinishedNotSetAside:
    case Kind::FinishedUnmarked:
        return finishedRecord(say, note);
    case Kind::RunningElsewhere:
        return runningElsewhere(say, note);
    case Kind::RecordUnreadable:
    case Kind::RecordSetAside:
    case Kind::RecordNotSetAside:
    case Kind::NewerFormat:
    case Kind::UnsealedNotRemoved:
        return recordNotUsed(say, note);
    }
    return {};
}

// Some file did not get its name back, or a record could not be used.
bool needsCare(const RecoveryNote& note) {
    return note.kind != RecoveryNote::Kind::Restored &&
           note.kind != RecoveryNote::Kind::UnsealedNotRemoved;
}

} // namespace

QString runNews(const RunNews& news) {
    Speaker say;
    say.carry(news.failure);
    say.carry(news.rollbackFailure);
    say.carry(news.error);
    return wordNews(say, news);
}

QString recoveryReport(const RecoveryReport& report) {
    Speaker say;
    if (report.recordsUnusable) {
        if (showsError(*report.recordsUnusable))
            say.carry(report.recordsUnusable->error);
        return recordsUnusable(say, *report.recordsUnusable);
    }
    if (report.notes.empty())
        return {};
    for (const RecoveryNote& note : report.notes) {
        say.carry(note.error);
        say.carry(note.failure);
    }
    QString text;
    bool care = false;
    for (const RecoveryNote& note : report.notes) {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n");
        text += noteSentence(say, note);
        care = care || needsCare(note);
    }
    return text + kParagraph +
           (care ? say(QT_TRANSLATE_NOOP(
                       "RunWords", "Check those files before renaming in those folders again."))
                 : say(QT_TRANSLATE_NOOP("RunWords",
                                         "You can rename them again whenever you are ready.")));
}

const RecoveryNote* unmarkedNote(const RecoveryReport& report) {
    for (const RecoveryNote& note : report.notes)
        if (note.kind == RecoveryNote::Kind::LeftUnmarked)
            return &note;
    return nullptr;
}

QString unmarkedQuestion(const RecoveryNote& note) {
    const Speaker say;
    return say(QT_TRANSLATE_NOOP("RunWords",
                                 "Remove %1? Keep it if another program may be writing it; "
                                 "you are asked again at the next start."))
        .arg(text(note.name));
}

QString removeUnmarkedChoice() {
    return Speaker()(QT_TRANSLATE_NOOP("RunWords", "Remove the empty file"));
}

QString keepUnmarkedChoice() {
    return Speaker()(QT_TRANSLATE_NOOP("RunWords", "Keep it"));
}

} // namespace velmorandi::words
