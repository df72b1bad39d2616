#include "main/drive_folders.h"
#include "main/drive_list.h"

#include <QAbstractItemView>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

using namespace velmorandi;

class DriveListTest : public QObject {
    Q_OBJECT

  private slots:
    void entryTexts();
    void pseudoVolumesLeftOut();
    void mountedDrivesHoldTheRootInOrder();
    void listStartsWithoutSelection();
    void drivesReadAgainWhenOpenedLeaveTheListWhenGone();
    void driveCurrentFolder();
};

void DriveListTest::entryTexts() {
    QCOMPARE(driveEntryText("/", ""), QDir::toNativeSeparators("/"));
    QCOMPARE(driveEntryText("/media/usb", "STICK"), QDir::toNativeSeparators("/media/usb [STICK]"));
    QCOMPARE(driveEntryText("C:/", "System"), QString("c: [System]"));
    QCOMPARE(driveEntryText("A:/", ""), QString("a:"));
}

void DriveListTest::pseudoVolumesLeftOut() {
    QVERIFY(isPseudoVolume("/proc", "proc"));
    QVERIFY(isPseudoVolume("/sys/fs/cgroup", "tmpfs"));
    QVERIFY(isPseudoVolume("/run/user/1000", "tmpfs"));
    QVERIFY(isPseudoVolume("/snap/core/1", "squashfs"));
    QVERIFY(isPseudoVolume("/anywhere", "cgroup2"));
    QVERIFY(!isPseudoVolume("/", "ext4"));
    QVERIFY(!isPseudoVolume("/tmp", "tmpfs"));
    QVERIFY(!isPseudoVolume("/runtime-data", "xfs"));
}

// The file system's root, "/" (which sorts first) or the system drive, is always listed.
void DriveListTest::mountedDrivesHoldTheRootInOrder() {
    const std::vector<DriveEntry> drives = mountedDrives();
    const std::string root = nativePath(QDir::rootPath().toStdString());
    QVERIFY(std::any_of(drives.begin(), drives.end(),
                        [&](const DriveEntry& drive) { return drive.root == root; }));
    for (std::size_t i = 1; i < drives.size(); ++i)
        QVERIFY(drives[i - 1].root < drives[i].root);
}

void DriveListTest::listStartsWithoutSelection() {
    DriveList list;
    QSignalSpy changes(&list, &QComboBox::currentIndexChanged);
    list.setDrives({{"/", "/"}, {"/data [Data]", "/data"}});
    QCOMPARE(list.currentIndex(), -1);
    QCOMPARE(list.drive(), std::string());
    QCOMPARE(list.entryTexts(), QStringList({"/", "/data [Data]"}));
    QCOMPARE(changes.count(), 0);
    list.setCurrentIndex(1);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(list.drive(), std::string("/data"));
}

void DriveListTest::drivesReadAgainWhenOpenedLeaveTheListWhenGone() {
    std::vector<DriveEntry> mounted = {{"/", "/"}, {"/media/usb [STICK]", "/media/usb"}};
    DriveList list;
    list.setDriveSource([&] { return mounted; });
    list.setDrives(mounted);
    list.setCurrentIndex(1);
    QSignalSpy changes(&list, &QComboBox::currentIndexChanged);

    // A drive plugged in since: listed, in its place, when the list opens; the
    // selected drive stays selected.
    mounted = {
        {"/", "/"}, {"/media/cam [CAM]", "/media/cam"}, {"/media/usb [STICK]", "/media/usb"}};
    list.showPopup();
    list.hidePopup();
    QCOMPARE(list.entryTexts(), QStringList({"/", "/media/cam [CAM]", "/media/usb [STICK]"}));
    QCOMPARE(list.drive(), std::string("/media/usb"));

    // The selected drive pulled out: it leaves the list, which says so once, and the
    // list does not open; nothing is selected until the window chooses.
    QSignalSpy gone(&list, &DriveList::selectedDriveGone);
    mounted = {{"/", "/"}};
    list.showPopup();
    QVERIFY(!list.view()->isVisible());
    QVERIFY(!list.refresh());
    QCOMPARE(list.entryTexts(), QStringList({"/"}));
    QCOMPARE(list.drive(), std::string());
    QCOMPARE(gone.count(), 1);
    QCOMPARE(gone.first().first().toString(), QString("/media/usb [STICK]"));
    QCOMPARE(gone.first().last().toByteArray(), QByteArray("/media/usb"));
    QCOMPARE(changes.count(), 0);
}

void DriveListTest::driveCurrentFolder() {
    QVERIFY(liesUnder("/home/u", "/"));
    QVERIFY(liesUnder("/home", "/home"));
    QVERIFY(!liesUnder("/homework", "/home"));
#ifdef Q_OS_WIN
    QVERIFY(liesUnder("/home\\u", "/home"));
#else
    QVERIFY(!liesUnder("/home\\u", "/home")); // a backslash is part of a Linux name
#endif

    DriveFolders folders("/home/u/work");
    QCOMPARE(folders.currentFolder("/"), std::string("/home/u/work"));
    QCOMPARE(folders.currentFolder("/home"), std::string("/home/u/work"));
    QCOMPARE(folders.currentFolder("/media/usb"), std::string("/media/usb"));

    folders.opened("/media/usb/photos");
    folders.opened("/home/u");
    QCOMPARE(folders.currentFolder("/media/usb"), std::string("/media/usb/photos"));
    QCOMPARE(folders.currentFolder("/"), std::string("/home/u"));
    folders.opened("/media/usb/photos");
    QCOMPARE(folders.currentFolder("/"), std::string("/media/usb/photos"));
    QCOMPARE(folders.currentFolder("/home"), std::string("/home/u"));
}

QTEST_MAIN(DriveListTest)
#include "drive_list_test.moc"
