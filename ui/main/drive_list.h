#pragma once

#include <QComboBox>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QStorageInfo;

namespace velmorandi {

struct DriveEntry {
    QString text;     // what the list shows
    std::string root; // the drive's root folder, exact bytes
    bool operator==(const DriveEntry&) const = default;
};

// "/mnt/usb [STICK]" on Linux, "c: [System]" for a drive letter.
QString driveEntryText(const QString& rootPath, const QString& label);

// File systems of the kernel and of the session that hold no user files.
bool isPseudoVolume(const QString& rootPath, const QByteArray& fileSystemType);

// One entry per mounted volume that holds user files, sorted by root path.
std::vector<DriveEntry> mountedDrives();

// The drive chooser. Starts with nothing selected, so that choosing the
// default drive always raises a change. The drives are read again from its
// source each time it opens, so a drive plugged in meanwhile is there and a
// drive taken away is not.
class DriveList : public QComboBox {
    Q_OBJECT
  public:
    explicit DriveList(QWidget* parent = nullptr);

    void setDrives(std::vector<DriveEntry> drives);
    using DriveSource = std::function<std::vector<DriveEntry>()>;
    void setDriveSource(DriveSource source) { m_source = std::move(source); }
    // Reads the drives again; the selected one stays selected. Raises no
    // change; when the selected drive has gone, nothing is selected,
    // selectedDriveGone tells, and true is returned.
    bool refresh();
    QStringList entryTexts() const;
    // The selected drive's root folder; empty when nothing is selected.
    std::string drive() const;
    // The drive that holds folder, the innermost where mounts nest.
    std::optional<int> indexHolding(const std::string& folder) const;
    // A network share named by its path ("\\server\share"), which no drive letter
    // stands for, listed as a drive of its own while its folder is shown; empty
    // when folder lies on no share.
    std::optional<int> addShareHolding(const std::string& folder);

    void showPopup() override;

  signals:
    // root: the drive's root folder, exact bytes.
    void selectedDriveGone(const QString& text, const QByteArray& root);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Raises no change: the selected drive stays selected where it is still listed.
    void replaceDrives(std::vector<DriveEntry> drives);

    std::vector<DriveEntry> m_drives;
    DriveSource m_source;
};

} // namespace velmorandi
