#include "main/drive_folders.h"

#include <algorithm>

namespace velmorandi {

DriveFolders::DriveFolders(std::string processFolder) : m_processFolder(std::move(processFolder)) {}

std::string DriveFolders::currentFolder(const std::string& driveRoot) const {
    const auto last = std::find_if(m_opened.rbegin(), m_opened.rend(),
                                   [&](const std::string& f) { return liesUnder(f, driveRoot); });
    if (last != m_opened.rend())
        return *last;
    if (liesUnder(m_processFolder, driveRoot))
        return m_processFolder;
    return driveRoot;
}

void DriveFolders::opened(const std::string& folder) {
    std::erase(m_opened, folder);
    m_opened.push_back(folder);
}

void DriveFolders::forgetDrive(const std::string& driveRoot) {
    std::erase_if(m_opened, [&](const std::string& f) { return liesUnder(f, driveRoot); });
    if (liesUnder(m_processFolder, driveRoot))
        m_processFolder.clear();
}

void DriveFolders::forget(const std::string& folder) {
    std::erase(m_opened, folder);
    if (m_processFolder == folder)
        m_processFolder.clear();
}

} // namespace velmorandi
