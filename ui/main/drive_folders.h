#pragma once

#include "paths.h"

#include <string>
#include <vector>

namespace velmorandi {

// Which folder a drive opens at: the folder last opened under its root in this
// run, else the process's folder when it lies under the root, else the root.
// liesUnder (paths.h) decides, so letter case does not count on Windows.
class DriveFolders {
  public:
    explicit DriveFolders(std::string processFolder);

    std::string currentFolder(const std::string& driveRoot) const;
    void opened(const std::string& folder);
    // A folder that could not be read is no drive's current folder any more.
    void forget(const std::string& folder);
    // Nor is any folder of a drive that has gone.
    void forgetDrive(const std::string& driveRoot);

  private:
    std::string m_processFolder;
    std::vector<std::string> m_opened; // most recent last, each folder once
};

} // namespace velmorandi
