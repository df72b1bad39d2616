#include "main/folder_navigation.h"

#include "main/default_drive.h"
#include "main/drive_list.h"
#include "main/folder_list.h"
#include "main/mount_watch.h"
#include "words/message_words.h"

#include "paths.h"

#include <QSignalBlocker>
#include <QTimer>

namespace velmorandi {

namespace {

// Drives come and go in bursts of mounts: read them once the burst is over.
constexpr int kDriveSettleMs = 250;

} // namespace

FolderNavigation::FolderNavigation(DriveList* drive1, FolderList* dir1, Hooks hooks,
                                   QObject* parent)
    : QObject(parent), m_Drive1(drive1), m_Dir1(dir1), m_hooks(std::move(hooks)),
      m_driveFolders(currentFolder()), m_drivesChanged(new QTimer(this)) {
    m_Drive1->setDrives(mountedDrives());
    m_Drive1->setDriveSource(mountedDrives);
    m_drivesChanged->setSingleShot(true);
    m_drivesChanged->setInterval(kDriveSettleMs);
    connect(m_drivesChanged, &QTimer::timeout, this, &FolderNavigation::refreshDrives);
    connect(new MountWatch(this), &MountWatch::changed, m_drivesChanged,
            qOverload<>(&QTimer::start));
    // After the list's own handling, which may be an opening list's.
    connect(m_Drive1, &DriveList::selectedDriveGone, this, &FolderNavigation::driveGone,
            Qt::QueuedConnection);
    connect(m_Drive1, &QComboBox::currentIndexChanged, this, &FolderNavigation::Drive1_Change);
    connect(m_Dir1, &FolderList::openRequested, this, &FolderNavigation::Dir1_OpenRequested);
}

void FolderNavigation::refreshDrives() {
    m_drivesStale = m_hooks.busy();
    if (!m_drivesStale)
        m_Drive1->refresh();
}

void FolderNavigation::driveGone(const QString& drive, const QByteArray& root) {
    m_driveFolders.forgetDrive(root.toStdString());
    // Another folder was opened meanwhile, with its own drive.
    if (m_Drive1->currentIndex() >= 0)
        return;
    m_hooks.say(words::driveGone(drive));
    SelectDefaultDrive();
}

void FolderNavigation::takeUpDeferred() {
    if (m_drivesStale)
        refreshDrives();
}

void FolderNavigation::SelectDefaultDrive() {
    if (const std::optional<int> index = defaultDriveIndex(m_Drive1->entryTexts()))
        m_Drive1->setCurrentIndex(*index);
}

bool FolderNavigation::openWithItsDrive(const std::string& folder) {
    std::optional<int> drive = m_Drive1->indexHolding(folder);
    if (!drive)
        drive = m_Drive1->addShareHolding(folder);
    if (!drive)
        return false;
    const QSignalBlocker quiet(m_Drive1);
    const int before = m_Drive1->currentIndex();
    m_Drive1->setCurrentIndex(*drive);
    if (moveToFolder(m_Drive1->drive(), folder))
        return true;
    m_Drive1->setCurrentIndex(before);
    return false;
}

void FolderNavigation::Drive1_Change() {
    const std::string drive = m_Drive1->drive();
    if (drive.empty())
        return;
    const std::string folder = m_driveFolders.currentFolder(drive);
    if (moveToFolder(drive, folder))
        return;
    // The next try on this drive starts further up, at the latest at its root.
    m_driveFolders.forget(folder);
    m_hooks.say(words::driveNotReady());
    // The default drive failed as well: the message has been shown again, stop here.
    if (m_driveRecoveryDepth > 0)
        return;
    ++m_driveRecoveryDepth;
    const int failedIndex = m_Drive1->currentIndex();
    SelectDefaultDrive();
    // Already on the default drive, so selecting it raised no change: retry it once.
    if (m_Drive1->currentIndex() == failedIndex)
        Drive1_Change();
    --m_driveRecoveryDepth;
}

bool FolderNavigation::moveToFolder(const std::string& root, const std::string& folder) {
    if (m_hooks.load(root, folder)) {
        m_driveFolders.opened(folder);
        return true;
    }
    // The folder list still shows the folder loaded last, as the grid does; its
    // sub-folders are read again: the one that failed may have gone.
    if (!m_Dir1->path().empty())
        m_Dir1->setPath(m_Dir1->root(), m_Dir1->path());
    return false;
}

void FolderNavigation::Dir1_OpenRequested(const std::string& folder) {
    if (folder == m_Dir1->path())
        return;
    if (!moveToFolder(m_Dir1->root(), folder))
        m_hooks.say(words::folderNotOpened());
}

} // namespace velmorandi
