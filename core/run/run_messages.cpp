#include "run/run_messages.h"

#include "platform/text_services.h"

namespace velmorandi::messages {
namespace {

constexpr const char* kParagraph = "\r\n\r\n";

std::string number(std::size_t count) {
    return platform::formatCount(count);
}

std::string files(std::size_t count) {
    return number(count) + (count == 1 ? " file" : " files");
}

const char* const kComesBack =
    "They get their old names back the next time Velmorandi starts, or when you open the "
    "folder again.";

} // namespace

const char* const kRenameRefused =
    "Could not invoke rename process. Some edited filename conflicts with Microsoft Windows "
    "filenaming conventions.\r\n\r\n"
    "Also check edited filename for no duplicacy and no blank wherever status is marked for "
    "error.";

const char* const kNameTaken =
    "Could not invoke rename process. Some edited filename is already taken by another file or "
    "folder in this folder.\r\n\r\n"
    "Choose another name wherever status is marked for error.";

std::string nameList(const std::vector<std::string>& names, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < shown; ++i)
        text += (i == 0 ? "" : ", ") + names[i];
    if (names.size() > shown)
        text += " and " + number(names.size() - shown) + " more";
    return text;
}

std::string isNow(const std::string& listed, const std::string& current) {
    return listed + " is now " + current;
}

std::string folderReadFailure(const std::string& folder, const SystemError& error) {
    return "Could not read the folder " + folder + ": " + error.reason;
}

std::string folderUnreadable(const std::string& folder, const SystemError& error) {
    return folderReadFailure(folder, error) + "." + kParagraph +
           "No file has been renamed. Check that the folder still exists and can be read.";
}

std::string renameFailure(const std::string& from, const std::string& to,
                          const SystemError& error) {
    return "Could not rename " + from + " to " + to + ": " + error.reason;
}

std::string nameTakenFailure(const std::string& from, const std::string& taken) {
    return "Could not rename " + from + " to " + taken +
           ": another program has given that name to a file or folder meanwhile";
}

std::string syncFailure(const std::string& folder, const SystemError& error) {
    return "Could not make the renames in " + folder + " last on its drive: " + error.reason;
}

std::string notLeftByRun(const std::string& name) {
    return name + " is no longer what this rename left there";
}

std::string leftoverNotRemoved(const std::string& name, const SystemError& error) {
    return "Could not remove " + name + ", which a step of this rename left: " + error.reason;
}

std::string noFileRenamed(const std::string& failure) {
    return failure + "." + kParagraph +
           "No file has been renamed. Check that the file still exists and that the folder can "
           "be written to.";
}

std::string nameTakenMeanwhile(const std::string& failure, const std::string& taken) {
    return failure + "." + kParagraph + "No file has been renamed. Rename or move that " + taken +
           ", then click Rename again.";
}

namespace {

std::string whyUnusable(const platform::RecordFolderProblem& problem) {
    using Kind = platform::RecordFolderProblem::Kind;
    switch (problem.kind) {
    case Kind::NoLocation:
        return "it cannot be made: " + problem.error.reason;
    case Kind::Unreachable:
        return "it cannot be made or opened: " + problem.error.reason;
    case Kind::NotAFolder:
        return "something that is not a folder bears its name";
    case Kind::Link:
        return "it is reached through a symbolic link, which another user could change";
    case Kind::OtherOwner:
        return "it belongs to another user";
    case Kind::OthersMayWrite:
        return "other users may write to it";
    }
    return {};
}

std::string adviceFor(const platform::RecordFolderProblem& problem) {
    using Kind = platform::RecordFolderProblem::Kind;
    switch (problem.kind) {
    case Kind::NoLocation:
        return "Set HOME, or XDG_STATE_HOME, to a folder of yours and start Velmorandi again.";
    case Kind::Unreachable:
        return "Check that the folder can be made and written to, and that its drive is not full.";
    case Kind::NotAFolder:
    case Kind::Link:
        return "Move that entry out of the way, or set XDG_STATE_HOME to a folder of yours, and "
               "start Velmorandi again.";
    case Kind::OtherOwner:
        // Run as root over a user's folder (sudo -E), the program belongs in
        // that user's session: handing the folder to root would only move the fault.
        if (problem.runningAsAdministrator)
            return "Start Velmorandi as " + problem.owner + ", the user who owns it, without sudo.";
        if (problem.ownerIsAdministrator)
            return "An administrator's session made it: give it back to you (for example: sudo "
                   "chown -R \"$USER\" " +
                   problem.folder + ") and start Velmorandi again.";
        return "Start Velmorandi as " + problem.owner + ", the user who owns it.";
    case Kind::OthersMayWrite:
        return "Close it to other users (for example: chmod 700 " + problem.folder +
               ") and start Velmorandi again.";
    }
    return {};
}

} // namespace

std::string recordsUnusable(const platform::RecordFolderProblem& problem) {
    return "Velmorandi keeps the records that make a rename safe in " + problem.folder + ", but " +
           whyUnusable(problem) +
           ". Until that is mended, no file is renamed, restored or undone." + kParagraph +
           adviceFor(problem);
}

std::string recordsUnusableFailure(const platform::RecordFolderProblem& problem) {
    return "Velmorandi cannot keep its records in " + problem.folder + ": " + whyUnusable(problem);
}

std::string recordFailure(const std::string& folder, const SystemError& error) {
    return "Could not write a record of the renames to " + folder + ": " + error.reason;
}

std::string recordUnwritable(const std::string& folder, const SystemError& error) {
    return recordFailure(folder, error) + "." + kParagraph +
           "No file has been renamed. Check that the folder can be written to and that its "
           "drive is not full.";
}

std::string cancelledSentence() {
    return "The rename has been cancelled";
}

std::string cancelled() {
    return std::string("The rename has been cancelled. No file has been renamed.") + kParagraph +
           "Click Rename to start it again.";
}

std::string undoCancelled() {
    return std::string("The undo has been cancelled. Every file keeps its new name.") + kParagraph +
           "Press Ctrl+Z to undo the rename again.";
}

std::string notRestored(const std::string& failure, const std::vector<std::string>& stillRenamed,
                        const std::string& rollbackFailure) {
    const std::string rollback = rollbackFailure.empty() ? "" : " " + rollbackFailure + ".";
    if (stillRenamed.empty())
        return failure + ", and the folder could not be checked afterwards." + rollback +
               kParagraph +
               "If some files still bear new names, they get their old names back the next time "
               "Velmorandi starts, or when you open the folder again.";
    return failure + ", and " + files(stillRenamed.size()) +
           (stillRenamed.size() == 1 ? " is" : " are") +
           " still under new names: " + nameList(stillRenamed, 3) + "." + rollback + kParagraph +
           kComesBack;
}

std::string renamedButUnmarked(const std::string& failure) {
    return "Every file has its new name, but the record of this rename could not be marked "
           "complete. " +
           failure + "." + kParagraph +
           "Velmorandi completes the record the next time it starts; until then this rename "
           "cannot be undone.";
}

std::string missingAfterRun(const std::vector<std::string>& missing) {
    return "These edited filenames are not in the folder after renaming: " + nameList(missing) +
           "." + kParagraph +
           "The file system may have changed or ignored them. Check the folder before renaming "
           "again.";
}

std::string reloadFailed(const SystemError& error) {
    return "The files have been renamed, but the folder could not be read again: " + error.reason +
           ". The list has been emptied, so that no file is renamed from an old "
           "name." +
           kParagraph + "Open the folder again to see its files.";
}

std::string undone(std::size_t count) {
    return files(count) + (count == 1 ? " has its" : " have their") + " old name" +
           (count == 1 ? "" : "s") + " again." + kParagraph + "Press Ctrl+Y to rename " +
           (count == 1 ? "it" : "them") + " again.";
}

std::string nothingToUndo(const std::string& folder) {
    return "There is no rename to undo in the folder " + folder + "." + kParagraph +
           "Only the last rename of a folder can be undone, and only once.";
}

std::string nothingToRedo(const std::string& folder) {
    return "There is no undone rename to rename again in the folder " + folder + "." + kParagraph +
           "Only the last undo of a folder can be taken back, and only once.";
}

std::string recordInUse(const std::string& folder) {
    return "The last rename in " + folder + " is being worked on by another Velmorandi window." +
           kParagraph + "Wait until it has finished, then try again.";
}

namespace {

std::string couldNot(const std::string& folder, bool redo) {
    return (redo ? "Could not rename again the files of the last undo in "
                 : "Could not undo the last rename in ") +
           folder;
}

} // namespace

std::string undoFolderReplaced(const std::string& folder, bool redo) {
    return couldNot(folder, redo) +
           ": it is not the folder that rename was made in; that one has been moved or "
           "replaced since." +
           kParagraph + "No file has been renamed. Open the folder where it is now and try there.";
}

std::string undoFileGone(const std::string& folder, const std::string& name, bool redo) {
    return couldNot(folder, redo) + ": " + name + " is no longer in the folder." + kParagraph +
           "No file has been renamed. Put " + name +
           " back and try again, or give the files the names you want with a new rename.";
}

std::string undoFileReplaced(const std::string& folder, const std::string& name,
                             const std::string& oldName, bool redo) {
    return couldNot(folder, redo) + ": " + name + " is now another file than the one that bore " +
           oldName + "." + kParagraph +
           "No file has been renamed. Give the files the names you want with a new rename.";
}

std::string undoNameTaken(const std::string& folder, const std::string& oldName, bool redo) {
    return couldNot(folder, redo) + ": the name " + oldName +
           " is now taken by another file or folder." + kParagraph +
           "No file has been renamed. Rename or move that entry, then try again.";
}

std::string movedFolder(const std::string& then, const std::string& now) {
    return then == now ? now : then + " (now at " + now + ")";
}

// Nothing to put back says nothing of how the run ended: it may not have
// begun, or its record may have outlived its rollback.
RecoveryNote restored(const std::string& folder, std::size_t count) {
    if (count == 0)
        return {"A rename in " + folder + " did not finish; every file there has its old name."};
    return {"A rename in " + folder + " was interrupted; " + files(count) +
            (count == 1 ? " got its old name back." : " got their old names back.")};
}

RecoveryNote restoredRecordLeft(const std::string& folder, std::size_t count,
                                const std::string& keptAt, const SystemError& error) {
    return {restored(folder, count).sentence + " Its record at " + keptAt +
                " could not be removed (" + error.reason +
                "); it is tried again at the next start.",
            true};
}

RecoveryNote restoredElsewhere(const std::string& folder, const std::string& journaled,
                               std::size_t count, const std::string& keptAt) {
    std::string sentence = "A rename in " + journaled + " was interrupted; in " + folder +
                           ", which may be a copy of it, ";
    sentence += count == 0 ? "every file has its old name"
                           : files(count) + (count == 1 ? " got its old name back"
                                                        : " got their old names back");
    return {sentence + ". Its record is kept at " + keptAt + " until " + journaled +
                " itself can be read and put right.",
            true};
}

RecoveryNote restoredInPart(const std::string& folder, std::size_t count,
                            const std::vector<std::string>& stillRenamed,
                            const std::vector<std::string>& missing, const std::string& keptAt) {
    std::string sentence = "A rename in " + folder + " was interrupted; " + files(count) +
                           (count == 1 ? " got its old name back" : " got their old names back");
    if (!stillRenamed.empty())
        sentence += ", " + number(stillRenamed.size()) + " could not: " + nameList(stillRenamed, 3);
    if (!missing.empty())
        sentence += "; not found there: " + nameList(missing, 3);
    return {sentence + ". Its record is kept at " + keptAt + " and tried again at the next start.",
            true};
}

RecoveryNote folderAway(const std::string& folder, const SystemError& error) {
    return {"A rename in " + folder +
                " was interrupted, and that folder cannot be reached: " + error.reason +
                ". Its record is kept: open the folder where it is now, or start Velmorandi "
                "again once it can be reached, and its files get their old names back.",
            true};
}

RecoveryNote notPutBack(const std::string& folder, const std::string& failure,
                        const std::vector<std::string>& stillRenamed) {
    std::string sentence = "A rename in " + folder +
                           " was interrupted, and its files could not all get their old names "
                           "back. " +
                           failure + ".";
    if (!stillRenamed.empty())
        sentence += " " + files(stillRenamed.size()) + (stillRenamed.size() == 1 ? " is" : " are") +
                    " still under new names: " + nameList(stillRenamed) + ".";
    return {sentence + " Its record is kept, and it is tried again at the next start.", true};
}

RecoveryNote recordUnreadable(const std::string& path, const SystemError& error) {
    return {"The record of a rename at " + path + " could not be read: " + error.reason +
                ". It is kept, and tried again at the next start.",
            true};
}

RecoveryNote folderReplaced(const std::string& folder) {
    return {"A rename in " + folder +
                " was interrupted, but the folder there now is another one, so nothing in it was "
                "renamed. Its record is kept: open the folder where it is now and its files get "
                "their old names back.",
            true};
}

RecoveryNote unproven(const std::string& folder, const std::string& keptAt) {
    return {"A rename in " + folder +
                " was interrupted, but the names there do not show how far it got, so nothing "
                "was renamed. Its record is kept at " +
                keptAt + "; if the folder was moved, open it where it is now.",
            true};
}

RecoveryNote leftForeign(const std::string& folder, const std::string& name, bool isFolder,
                         const std::string& keptAt) {
    return {"A rename in " + folder + " was interrupted, but " + name + " there is " +
                (isFolder ? "a folder" : "a file") +
                " that rename cannot prove it made, and it keeps the names from showing how "
                "far the rename got; so nothing was renamed, and " +
                name + " was left as it is. Its record is kept at " + keptAt + ": move " + name +
                " out of the folder, then open the folder again.",
            true};
}

RecoveryNote finishedNotSetAside(const std::string& folder, const std::string& path,
                                 const SystemError& error) {
    return {"A rename in " + folder + " had finished, but its record at " + path +
                " is damaged and could not be set aside (" + error.reason +
                "); that rename can no longer be undone.",
            true};
}

RecoveryNote finishedUnmarked(const std::string& folder, const std::string& path,
                              const SystemError& error) {
    return {"A rename in " + folder + " had finished, but its record at " + path +
                " could not be marked complete (" + error.reason +
                "); it is tried again at the next start.",
            true};
}

RecoveryNote runningElsewhere(const std::string& folder, const std::string& host) {
    return {"A rename in " + folder + " is being made by Velmorandi on " +
                (host.empty() ? std::string("another computer") : host) + ", so it was left alone.",
            true};
}

RecoveryNote finishedButDamaged(const std::string& folder, const std::string& keptAt) {
    return {"A rename in " + folder + " had finished, but its record is damaged; it is kept at " +
                keptAt + ", and that rename can no longer be undone.",
            true};
}

std::string refusedRecord(platform::RecordRefusal why) {
    using Refusal = platform::RecordRefusal;
    switch (why) {
    case Refusal::Link:
        return "it is a link";
    case Refusal::NotPlain:
        return "it is not a plain file";
    case Refusal::OtherOwner:
        return "it belongs to another user";
    case Refusal::OthersMayWrite:
        return "other users may write to it";
    case Refusal::TooLarge:
        return "it is larger than any record this program writes";
    case Refusal::Replaced:
        return "it was replaced while it was being opened";
    case Refusal::None:
        break;
    }
    return "it cannot be read";
}

std::string damagedRecord(bool cutShort) {
    return cutShort ? "it ends before its plan does" : "a part of it is damaged";
}

std::string otherFormatRecord() {
    return "another version of Velmorandi wrote it";
}

RecoveryNote recordSetAside(const std::string& keptAt, const std::string& why,
                            const std::string& folder) {
    std::string sentence = "A record of a rename could not be used (" + why +
                           "), so nothing was "
                           "renamed from it; it is kept at " +
                           keptAt + ".";
    if (!folder.empty())
        sentence += " Files in " + folder + " may still bear the names that rename gave them.";
    return {sentence, true};
}

RecoveryNote recordNotSetAside(const std::string& path, const std::string& why,
                               const SystemError& error, const std::string& folder) {
    std::string sentence = "A record of a rename could not be used (" + why +
                           "), so nothing was renamed from it; it could not be set aside either (" +
                           error.reason + "), and stays at " + path + ".";
    if (!folder.empty())
        sentence += " Files in " + folder + " may still bear the names that rename gave them.";
    return {sentence, true};
}

RecoveryNote unsealedNotRemoved(const std::string& path, const SystemError& error) {
    return {"The record of a rename that never began, at " + path + ", could not be removed (" +
                error.reason + "); it is tried again at the next start.",
            false};
}

std::string recoveryReport(const std::vector<RecoveryNote>& notes) {
    std::string text;
    bool needsCare = false;
    for (const RecoveryNote& note : notes) {
        text += (text.empty() ? "" : "\r\n") + note.sentence;
        needsCare = needsCare || note.needsCare;
    }
    return text + kParagraph +
           (needsCare ? "Check those files before renaming in those folders again."
                      : "You can rename them again whenever you are ready.");
}

} // namespace velmorandi::messages
