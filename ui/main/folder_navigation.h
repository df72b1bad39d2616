#pragma once

#include "main/drive_folders.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QTimer;

namespace velmorandi {

class DriveList;
class FolderList;

// Drive and folder selection: the drive list leads the folder list to the
// drive's current folder, which loads the rename list; a drive that cannot be
// read is reported and the default drive chosen instead. Drives are read
// again as they are mounted and unmounted; a drive that goes away while it
// holds the open folder takes the window back to the default drive.
class FolderNavigation : public QObject {
    Q_OBJECT
  public:
    struct Hooks {
        // Loads the folder into the window; false when it cannot be read.
        std::function<bool(const std::string& root, const std::string& folder)> load;
        std::function<void(const QString& message)> say;
        // While a run works or a message waits, drives are read again afterwards.
        std::function<bool()> busy;
    };
    FolderNavigation(DriveList* drive1, FolderList* dir1, Hooks hooks, QObject* parent = nullptr);

    void SelectDefaultDrive();
    // The folder with its own drive selected; on failure the drive list's
    // selection is as before (at start nothing, so that selecting the default
    // drive loads it).
    bool openWithItsDrive(const std::string& folder);
    // Reads the drives again now, or once the window is free.
    void refreshDrives();
    // The window is free again: what waited for it is done.
    void takeUpDeferred();

  private:
    void driveGone(const QString& drive, const QByteArray& root);
    void Drive1_Change();
    void Dir1_OpenRequested(const std::string& folder);
    bool moveToFolder(const std::string& root, const std::string& folder);

    DriveList* m_Drive1;
    FolderList* m_Dir1;
    Hooks m_hooks;
    DriveFolders m_driveFolders;
    QTimer* m_drivesChanged;
    bool m_drivesStale = false;
    int m_driveRecoveryDepth = 0;
};

} // namespace velmorandi
