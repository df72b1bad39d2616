#pragma once

#include <QComboBox>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

class QStorageInfo;

namespace velmorandi {

struct DriveEntry {
    QString text;     // what the list shows
    std::string root; // the drive's root folder, exact bytes
};

// "/mnt/usb [STICK]" on Linux, "c: [System]" for a drive letter.
QString driveEntryText(const QString& rootPath, const QString& label);

// File systems of the kernel and of the session that hold no user files.
bool isPseudoVolume(const QString& rootPath, const QByteArray& fileSystemType);

// One entry per mounted volume that holds user files, sorted by root path.
std::vector<DriveEntry> mountedDrives();

// The drive chooser. Starts with nothing selected, so that choosing the
// default drive always raises a change.
class DriveList : public QComboBox {
    Q_OBJECT
  public:
    explicit DriveList(QWidget* parent = nullptr);

    void setDrives(std::vector<DriveEntry> drives);
    QStringList entryTexts() const;
    // The selected drive's root folder; empty when nothing is selected.
    std::string drive() const;
    // The drive that holds folder, the innermost where mounts nest.
    std::optional<int> indexHolding(const std::string& folder) const;

  private:
    std::vector<DriveEntry> m_drives;
};

} // namespace velmorandi
