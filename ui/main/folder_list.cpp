#include "main/folder_list.h"

#include "main/drive_folders.h"

#include "folder_listing.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace velmorandi {

namespace {

constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kIndentPixels = 7;

class IndentDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(index.data(kLevelRole).toInt() * kIndentPixels, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

} // namespace

std::vector<FolderEntry> folderChain(const std::string& root, const std::string& folder) {
    if (!liesUnder(folder, root))
        return {{folder, folder, 0, true}};
    std::vector<FolderEntry> chain{{root, root, 0, true}};
    std::string path = root;
    for (std::string& name : namesBelow(root, folder)) {
        path = JoinPath(path, name);
        chain.push_back({path, std::move(name), static_cast<int>(chain.size()), true});
    }
    return chain;
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new IndentDelegate(this));
    setUniformItemSizes(true);
}

std::optional<SystemError> FolderList::setPath(const std::string& root, const std::string& folder) {
    FolderListing subfolders = ListSubfolders(folder);
    if (subfolders.error)
        return subfolders.error;
    setPath(root, folder, std::move(subfolders.names));
    return std::nullopt;
}

void FolderList::setPath(const std::string& root, const std::string& folder,
                         std::vector<std::string> subfolders) {
    std::vector<FolderEntry> entries = folderChain(root, folder);
    const int currentRow = static_cast<int>(entries.size()) - 1;
    const int subLevel = static_cast<int>(entries.size());
    for (std::string& name : subfolders) {
        std::string path = JoinPath(folder, name);
        entries.push_back({std::move(path), std::move(name), subLevel, false});
    }

    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    clear();
    for (const FolderEntry& entry : entries) {
        auto* item = new QListWidgetItem(entry.onChain ? openIcon : closedIcon,
                                         QString::fromUtf8(entry.name), this);
        item->setData(kLevelRole, entry.level);
    }
    m_entries = std::move(entries);
    m_root = root;
    m_path = folder;
    setCurrentRow(currentRow);
}

void FolderList::openRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_entries.size()))
        return;
    // The list is rebuilt by whoever opens the folder: copy the path first.
    const std::string folder = m_entries[row].path;
    emit openRequested(folder);
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openRow(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton)
        openRow(index.row());
    else
        QListWidget::mouseDoubleClickEvent(event);
}

} // namespace velmorandi
