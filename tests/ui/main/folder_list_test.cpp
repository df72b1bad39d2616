#include "main/folder_list.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace velmorandi;

class FolderListTest : public QObject {
    Q_OBJECT

  private slots:
    void chainFromRoot();
    void listsChainThenSubfolders();
    void opensWithEnterOrDoubleClick();
};

void FolderListTest::chainFromRoot() {
    const std::vector<FolderEntry> chain = folderChain("/", "/home/u");
    QCOMPARE(chain.size(), std::size_t(3));
    QCOMPARE(chain[0].path, std::string("/"));
    QCOMPARE(chain[1].path, std::string("/home"));
    QCOMPARE(chain[2].path, std::string("/home/u"));
    QCOMPARE(chain[2].name, std::string("u"));
    QCOMPARE(chain[2].level, 2);

    const std::vector<FolderEntry> mounted = folderChain("/media/usb", "/media/usb/a");
    QCOMPARE(mounted.size(), std::size_t(2));
    QCOMPARE(mounted[0].name, std::string("/media/usb"));
    QCOMPARE(mounted[1].path, std::string("/media/usb/a"));

    QCOMPARE(folderChain("/", "/").size(), std::size_t(1));
    QCOMPARE(folderChain("/data", "/elsewhere/x").front().path, std::string("/elsewhere/x"));
}

void FolderListTest::listsChainThenSubfolders() {
    QTemporaryDir top;
    const std::string topPath = top.path().toStdString();
    const std::string oddName = "caf\xe9"; // not UTF-8: must come back byte for byte
    std::filesystem::create_directory(topPath + "/" + oddName);
    std::filesystem::create_directory(topPath + "/beta");
    std::filesystem::create_directory(topPath + "/.hidden");

    FolderList list;
    QVERIFY(!list.setPath("/", topPath));
    QCOMPARE(list.path(), topPath);
    const int current = list.currentRow();
    QCOMPARE(list.entry(current).path, topPath);
    QVERIFY(list.entry(current).onChain);
    QCOMPARE(list.count(), current + 3);
    std::vector<std::string> subfolders;
    for (int row = current + 1; row < list.count(); ++row) {
        QVERIFY(!list.entry(row).onChain);
        QCOMPARE(list.entry(row).level, current + 1);
        subfolders.push_back(list.entry(row).path);
    }
    std::sort(subfolders.begin(), subfolders.end());
    QCOMPARE(subfolders[0], topPath + "/beta");
    QCOMPARE(subfolders[1], topPath + "/" + oddName);

    // A folder that cannot be listed leaves everything as it was.
    QVERIFY(list.setPath("/", topPath + "/missing").has_value());
    QCOMPARE(list.path(), topPath);
    QCOMPARE(list.count(), current + 3);
}

void FolderListTest::opensWithEnterOrDoubleClick() {
    QTemporaryDir top;
    QVERIFY(QDir(top.path()).mkpath("inner"));
    FolderList list;
    list.resize(200, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QVERIFY(!list.setPath("/", top.path().toStdString()));
    std::vector<std::string> requests;
    connect(&list, &FolderList::openRequested,
            [&](const std::string& folder) { requests.push_back(folder); });

    const int inner = list.count() - 1;
    list.setCurrentRow(inner);
    QTest::keyClick(&list, Qt::Key_Return);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(0)).center());
    QCOMPARE(requests.size(), std::size_t(1));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                       list.visualItemRect(list.item(0)).center());
    QCOMPARE(requests.size(), std::size_t(2));
    QCOMPARE(requests[0], top.path().toStdString() + "/inner");
    QCOMPARE(requests[1], std::string("/"));
}

QTEST_MAIN(FolderListTest)
#include "folder_list_test.moc"
