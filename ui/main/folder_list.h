#pragma once

#include "platform/system_error.h"

#include <QListWidget>

#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

struct FolderEntry {
    std::string path; // exact bytes
    std::string name; // what the list shows
    int level = 0;    // indentation steps
    bool onChain = false;
};

// The folders from root down to folder, each one level deeper than the last.
std::vector<FolderEntry> folderChain(const std::string& root, const std::string& folder);

// The folder list: the chain from the drive's root to the current folder, then
// the current folder's sub-folders. A double-click or Enter asks to open one.
class FolderList : public QListWidget {
    Q_OBJECT
  public:
    explicit FolderList(QWidget* parent = nullptr);

    // Shows folder under root; when its sub-folders cannot be listed nothing changes.
    std::optional<SystemError> setPath(const std::string& root, const std::string& folder);
    // The same with sub-folders already read, in their order.
    void setPath(const std::string& root, const std::string& folder,
                 std::vector<std::string> subfolders);
    const std::string& path() const { return m_path; }
    const std::string& root() const { return m_root; }
    const FolderEntry& entry(int row) const { return m_entries.at(row); }
    // What a double-click or Enter on that row does.
    void openRow(int row);

  signals:
    void openRequested(const std::string& folder);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    std::string m_root;
    std::string m_path;
    std::vector<FolderEntry> m_entries;
};

} // namespace velmorandi
