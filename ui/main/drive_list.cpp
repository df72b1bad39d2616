#include "main/drive_list.h"

#include "paths.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStylePainter>

#include <algorithm>
#include <array>

namespace velmorandi {

QString driveEntryText(const QString& rootPath, const QString& label) {
    static const QRegularExpression driveLetter(QStringLiteral("^([A-Za-z]:)[/\\\\]?$"));
    const auto match = driveLetter.match(rootPath);
    QString text =
        match.hasMatch() ? match.captured(1).toLower() : QDir::toNativeSeparators(rootPath);
    if (!label.isEmpty())
        text += QStringLiteral(" [%1]").arg(label);
    return text;
}

namespace {

bool isUnderFolder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// A screen reader hears the list by its name, "Drive", and the selected drive
// as its value, which it reads as the box's text. (Qt's own combo box is named
// after its entry on Linux.)
class DriveListAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit DriveListAccessible(DriveList* list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return shown();
        return QAccessibleWidget::text(kind);
    }

    // The entries, as the open list shows them.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == list()->view() ? 0 : -1;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& actionName) override {
        if (actionName == showMenuAction())
            list()->showPopup();
        else
            QAccessibleWidget::doAction(actionName);
    }

    // The text shown: read only, no caret, nothing selected.
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

  private:
    DriveList* list() const { return static_cast<DriveList*>(widget()); }
    QString shown() const { return list()->currentText(); }
};

QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
    if (auto* list = qobject_cast<DriveList*>(object))
        return new DriveListAccessible(list);
    return nullptr;
}

} // namespace

bool isPseudoVolume(const QString& rootPath, const QByteArray& fileSystemType) {
    static constexpr std::array pseudoTypes = {
        "autofs", "binfmt_misc", "bpf",        "cgroup",     "cgroup2",   "configfs", "debugfs",
        "devpts", "devtmpfs",    "efivarfs",   "fusectl",    "hugetlbfs", "mqueue",   "nsfs",
        "proc",   "pstore",      "rpc_pipefs", "securityfs", "squashfs",  "sysfs",    "tracefs"};
    if (std::find(pseudoTypes.begin(), pseudoTypes.end(), fileSystemType) != pseudoTypes.end())
        return true;
    static const std::array systemFolders = {QStringLiteral("/proc"),    QStringLiteral("/sys"),
                                             QStringLiteral("/dev"),     QStringLiteral("/run"),
                                             QStringLiteral("/var/run"), QStringLiteral("/snap")};
    return std::any_of(systemFolders.begin(), systemFolders.end(),
                       [&](const QString& folder) { return isUnderFolder(rootPath, folder); });
}

std::vector<DriveEntry> mountedDrives() {
    std::vector<DriveEntry> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // Containers bind single files (/etc/hosts) as mounts.
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir() ||
            isPseudoVolume(root, volume.fileSystemType()))
            continue;
        // Qt writes "C:/"; the core and the folder list write "C:\\".
        const std::string rootBytes = nativePath(root.toStdString());
        const bool seen = std::any_of(drives.begin(), drives.end(),
                                      [&](const DriveEntry& d) { return d.root == rootBytes; });
        if (!seen)
            drives.push_back({driveEntryText(root, volume.name()), rootBytes});
    }
    // The file system's root always holds user files, also where no mount table is
    // visible (a chroot); without it the window would have no folder to start from.
    const std::string systemRoot = nativePath(QDir::rootPath().toStdString());
    if (std::none_of(drives.begin(), drives.end(),
                     [&](const DriveEntry& d) { return d.root == systemRoot; }))
        drives.push_back({driveEntryText(QDir::rootPath(), {}), systemRoot});
    std::sort(drives.begin(), drives.end(),
              [](const DriveEntry& a, const DriveEntry& b) { return a.root < b.root; });
    return drives;
}

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    static const bool accessible = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(accessible);
}

void DriveList::setDrives(std::vector<DriveEntry> drives) {
    const QSignalBlocker blocker(this);
    clear();
    m_drives = std::move(drives);
    for (const DriveEntry& drive : m_drives)
        addItem(drive.text);
    setCurrentIndex(-1);
}

bool DriveList::refresh() {
    // Entries that change under an open list would move under the pointer.
    if (!m_source || view()->isVisible())
        return false;
    std::vector<DriveEntry> drives = m_source();
    const int current = currentIndex();
    const bool selected = current >= 0 && current < static_cast<int>(m_drives.size());
    const DriveEntry kept = selected ? m_drives[current] : DriveEntry{};
    // A share opened by its path stays listed while it is selected: no source lists it.
    if (selected && shareRoot(kept.root) == kept.root &&
        std::none_of(drives.begin(), drives.end(),
                     [&](const DriveEntry& d) { return d.root == kept.root; })) {
        drives.push_back(kept);
        std::sort(drives.begin(), drives.end(),
                  [](const DriveEntry& a, const DriveEntry& b) { return a.root < b.root; });
    }
    if (drives == m_drives)
        return false;
    replaceDrives(std::move(drives));
    if (currentIndex() >= 0 || !selected)
        return false;
    emit selectedDriveGone(kept.text, QByteArray::fromStdString(kept.root));
    return true;
}

void DriveList::replaceDrives(std::vector<DriveEntry> drives) {
    const std::string selectedRoot = drive();
    setDrives(std::move(drives));
    const QSignalBlocker blocker(this);
    for (int i = 0; !selectedRoot.empty() && i < static_cast<int>(m_drives.size()); ++i)
        if (m_drives[i].root == selectedRoot)
            setCurrentIndex(i);
}

void DriveList::showPopup() {
    // Gone with the open folder: the window moves to another drive first.
    if (!refresh())
        QComboBox::showPopup();
}

// Only the face shows inside its container, which would cut off the style's
// focus frame: with the focus, the selected drive is highlighted instead.
void DriveList::paintEvent(QPaintEvent* event) {
    if (!hasFocus()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.fillRect(field, option.palette.color(QPalette::Highlight));
    const QColor text = option.palette.color(QPalette::HighlightedText);
    option.palette.setColor(QPalette::ButtonText, text);
    option.palette.setColor(QPalette::Text, text);
    option.palette.setColor(QPalette::WindowText, text);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

QStringList DriveList::entryTexts() const {
    QStringList texts;
    for (const DriveEntry& drive : m_drives)
        texts << drive.text;
    return texts;
}

std::string DriveList::drive() const {
    const int index = currentIndex();
    if (index < 0 || index >= static_cast<int>(m_drives.size()))
        return {};
    return m_drives[index].root;
}

std::optional<int> DriveList::addShareHolding(const std::string& folder) {
    const std::string root = shareRoot(folder);
    if (root.empty())
        return std::nullopt;
    std::vector<DriveEntry> drives = m_drives;
    drives.push_back({QString::fromStdString(root.substr(0, root.size() - 1)), root});
    std::sort(drives.begin(), drives.end(),
              [](const DriveEntry& a, const DriveEntry& b) { return a.root < b.root; });
    replaceDrives(std::move(drives));
    return indexHolding(folder);
}

std::optional<int> DriveList::indexHolding(const std::string& folder) const {
    std::optional<int> holder;
    for (int i = 0; i < static_cast<int>(m_drives.size()); ++i)
        if (liesUnder(folder, m_drives[i].root) &&
            (!holder || m_drives[i].root.size() > m_drives[*holder].root.size()))
            holder = i;
    return holder;
}

} // namespace velmorandi
