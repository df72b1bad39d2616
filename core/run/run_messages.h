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

std::string folderUnreadable(const std::string& folder, const SystemError& error);
std::string renameFailure(const std::string& from, const std::string& to, const SystemError& error);
std::string noFileRenamed(const std::string& failure);
std::string recordsUnusable(const platform::RecordFolderProblem& problem);
std::string recordFailure(const std::string& folder, const SystemError& error);
std::string recordUnwritable(const std::string& folder, const SystemError& error);
std::string cancelledSentence();
std::string cancelled();
std::string undoCancelled();
std::string notRestored(const std::string& failure, const std::vector<std::string>& stillRenamed);
std::string missingAfterRun(const std::vector<std::string>& missing);
std::string reloadFailed(const SystemError& error);
std::string holdsData(const std::string& name);

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
RecoveryNote restoredInPart(const std::string& folder, std::size_t files,
                            const std::vector<std::string>& stillRenamed,
                            const std::vector<std::string>& missing, const std::string& keptAt);
RecoveryNote folderAway(const std::string& folder, const SystemError& error);
RecoveryNote notPutBack(const std::string& folder, const SystemError& error,
                        const std::vector<std::string>& stillRenamed);
RecoveryNote recordUnreadable(const std::string& path, const SystemError& error);
RecoveryNote folderReplaced(const std::string& folder);
RecoveryNote unproven(const std::string& folder, const std::string& keptAt);
RecoveryNote finishedButDamaged(const std::string& folder, const std::string& keptAt);
// Why a record was set aside: what it is, or that it is damaged or cut short.
std::string refusedRecord(platform::RecordRefusal why);
std::string damagedRecord(bool cutShort);
RecoveryNote recordSetAside(const std::string& keptAt, const std::string& why,
                            const std::string& folder);
std::string recoveryReport(const std::vector<RecoveryNote>& notes);

} // namespace velmorandi::messages
