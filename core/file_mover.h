#pragma once

#include "platform/folder_access.h"
#include "rename_commit.h"

#include <optional>
#include <string>

namespace velmorandi {

// Moves files of one folder from name to name without ever replacing one,
// also where the file system ignores letter case.
class FileMover {
  public:
    FileMover(const platform::FolderHandle& folder, const RenameSeam& seam);

    struct Result {
        std::optional<SystemError> error;
        std::string strandedAs; // set when the file was left under a temporary name
    };
    Result move(const std::string& from, const std::string& to);

  private:
    std::optional<SystemError> renameOnce(const std::string& from, const std::string& to);
    Result moveThroughTemporaryName(const std::string& from, const std::string& to,
                                    const SystemError& directError);
    std::string nextTemporaryName();

    RenameFunction m_systemRename;
    const RenameSeam& m_seam;
    std::string m_temporaryPrefix;
    unsigned m_temporaryCount = 0;
};

} // namespace velmorandi
