#pragma once

#include "platform/system_error.h"

#include <string>
#include <vector>

// The sentences a run shows the user: what happened, an empty line, what to do.
namespace velmorandi::messages {

std::string nameList(const std::vector<std::string>& names);

std::string folderUnreadable(const std::string& folder, const SystemError& error);
std::string renameFailure(const std::string& from, const std::string& to, const SystemError& error);
std::string noFileRenamed(const std::string& failure);
std::string keptNames(const std::string& failure, const std::vector<std::string>& kept);
std::string journalUnwritable(const std::string& folder, const SystemError& error);
std::string cancelled();
std::string syncFailed(const SystemError& error);
std::string missingAfterRun(const std::vector<std::string>& missing);
std::string reloadFailed(const SystemError& error);

std::string nothingToUndo(const std::string& folder);
std::string undoFileGone(const std::string& folder, const std::string& name);
std::string undoFileReplaced(const std::string& folder, const std::string& name,
                             const std::string& oldName);
std::string undoNameTaken(const std::string& folder, const std::string& oldName);

// One sentence per interrupted run, then the advice.
std::string recovered(const std::string& folder, std::size_t restored,
                      const std::vector<std::string>& notRestored);
std::string recoveryFolderGone(const std::string& folder, const SystemError& error, bool kept);
std::string recoveryReport(const std::vector<std::string>& sentences, bool anyNotRestored);

} // namespace velmorandi::messages
