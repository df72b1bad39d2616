#pragma once

#include "platform/record_files.h"
#include "platform/system_error.h"

#include <cstddef>
#include <string>
#include <vector>

// Every sentence a run shows the user: what happened, an empty line, what to do.
namespace velmorandi::messages {

extern const char* const kRenameRefused;
extern const char* const kNameTaken;

// A few names, then "and N more": the message window has room for no more.
std::string nameList(const std::vector<std::string>& names, std::size_t shown = 5);
// "a is now b", the way the messages name a file that kept another name.
std::string isNow(const std::string& listed, const std::string& current);

// What stopped a run, each a sentence of its own without its final period.
std::string folderReadFailure(const std::string& folder, const SystemError& error);
std::string renameFailure(const std::string& from, const std::string& to, const SystemError& error);
// Another entry took `taken`, the name a step gives a file, after the check.
std::string nameTakenFailure(const std::string& from, const std::string& taken);
std::string recordFailure(const std::string& folder, const SystemError& error);
std::string recordsUnusableFailure(const platform::RecordFolderProblem& problem);
std::string syncFailure(const std::string& folder, const SystemError& error);
std::string cancelledSentence();
// Why a name a step left could not be removed.
std::string notLeftByRun(const std::string& name);
std::string leftoverNotRemoved(const std::string& name, const SystemError& error);

// Whole messages of a run.
std::string folderUnreadable(const std::string& folder, const SystemError& error);
std::string noFileRenamed(const std::string& failure);
std::string nameTakenMeanwhile(const std::string& failure, const std::string& taken);
std::string recordsUnusable(const platform::RecordFolderProblem& problem);
std::string recordUnwritable(const std::string& folder, const SystemError& error);
std::string cancelled();
std::string undoCancelled();
// The run stopped, and not every file got its name back: `stillRenamed`, and
// why the rollback itself stopped, where it did.
std::string notRestored(const std::string& failure, const std::vector<std::string>& stillRenamed,
                        const std::string& rollbackFailure = {});
// Every file got its new name, but `failure` kept the record from saying so.
std::string renamedButUnmarked(const std::string& failure);
std::string missingAfterRun(const std::vector<std::string>& missing);
std::string reloadFailed(const SystemError& error);

std::string undone(std::size_t files);
std::string nothingToUndo(const std::string& folder);
std::string nothingToRedo(const std::string& folder);
std::string recordInUse(const std::string& folder);
// An undo's refusals; with `redo`, a redo's.
std::string undoFolderReplaced(const std::string& folder, bool redo);
std::string undoFileGone(const std::string& folder, const std::string& name, bool redo);
std::string undoFileReplaced(const std::string& folder, const std::string& name,
                             const std::string& oldName, bool redo);
std::string undoNameTaken(const std::string& folder, const std::string& oldName, bool redo);

// A folder as the user knows it now: "old" where it stayed, "old (now at new)"
// where it was moved.
std::string movedFolder(const std::string& then, const std::string& now);

// The start-up report: one sentence per run it met, then one advice.
struct RecoveryNote {
    std::string sentence;
    bool needsCare = false; // some file did not get its name back, or a record could not be used
};
RecoveryNote restored(const std::string& folder, std::size_t files);
// Every file got its old name back, but the record could not be removed.
RecoveryNote restoredRecordLeft(const std::string& folder, std::size_t files,
                                const std::string& keptAt, const SystemError& error);
// `folder` is another folder of `journaled`'s volume: a copy, or it moved.
RecoveryNote restoredElsewhere(const std::string& folder, const std::string& journaled,
                               std::size_t files, const std::string& keptAt);
RecoveryNote restoredInPart(const std::string& folder, std::size_t files,
                            const std::vector<std::string>& stillRenamed,
                            const std::vector<std::string>& missing, const std::string& keptAt);
RecoveryNote folderAway(const std::string& folder, const SystemError& error);
RecoveryNote notPutBack(const std::string& folder, const std::string& failure,
                        const std::vector<std::string>& stillRenamed);
RecoveryNote recordUnreadable(const std::string& path, const SystemError& error);
RecoveryNote folderReplaced(const std::string& folder);
RecoveryNote unproven(const std::string& folder, const std::string& keptAt);
// The names would tell, but for `name`, which is not what the run left there.
RecoveryNote leftForeign(const std::string& folder, const std::string& name, bool isFolder,
                         const std::string& keptAt);
RecoveryNote finishedButDamaged(const std::string& folder, const std::string& keptAt);
RecoveryNote finishedNotSetAside(const std::string& folder, const std::string& path,
                                 const SystemError& error);
RecoveryNote finishedUnmarked(const std::string& folder, const std::string& path,
                              const SystemError& error);
// A run another live process is making, on `host` (another machine, or
// this one through another mount of the network drive).
RecoveryNote runningElsewhere(const std::string& folder, const std::string& host);
// Why a record was set aside: what it is, that it is damaged or cut short,
// or that another version of the program wrote it.
std::string refusedRecord(platform::RecordRefusal why);
std::string damagedRecord(bool cutShort);
std::string otherFormatRecord();
RecoveryNote recordSetAside(const std::string& keptAt, const std::string& why,
                            const std::string& folder);
RecoveryNote recordNotSetAside(const std::string& path, const std::string& why,
                               const SystemError& error, const std::string& folder);
RecoveryNote unsealedNotRemoved(const std::string& path, const SystemError& error);
std::string recoveryReport(const std::vector<RecoveryNote>& notes);

} // namespace velmorandi::messages
