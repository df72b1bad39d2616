#include "main/folder_list.h"
#include "window_test_support.h"

#include "paths.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace velmorandi;
using test::native;

class FolderListTest : public QObject {
    Q_OBJECT

  private slots:
    void chainFromRoot();
    void listsChainThenSubfolders();
    void opensWithEnterOrDoubleClick();
};

void FolderListTest::chainFromRoot() {
    const std::vector<FolderEntry> chain = folderChain(native("/"), native("/home/u"));
    QCOMPARE(chain.size(), std::size_t(3));
    QCOMPARE(chain[0].path, native("/"));
    QCOMPARE(chain[1].path, native("/home"));
    QCOMPARE(chain[2].path, native("/home/u"));
    QCOMPARE(chain[2].name, std::string("u"));
    QCOMPARE(chain[2].level, 2);

    const std::vector<FolderEntry> mounted =
        folderChain(native("/media/usb"), native("/media/usb/a"));
    QCOMPARE(mounted.size(), std::size_t(2));
    QCOMPARE(mounted[0].name, native("/media/usb"));
    QCOMPARE(mounted[1].path, native("/media/usb/a"));

    QCOMPARE(folderChain(native("/"), native("/")).size(), std::size_t(1));
    QCOMPARE(folderChain(native("/data"), native("/elsewhere/x")).front().path,
             native("/elsewhere/x"));
}

void FolderListTest::listsChainThenSubfolders() {
    QTemporaryDir top;
    const std::string topPath = native(top.path());
#ifdef Q_OS_WIN
    // Greek: outside the ANSI code pages of Western Europe.
    const std::string oddName = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1";
    QVERIFY(QDir(top.path()).mkdir(QString::fromStdString(oddName)));
#else
    const std::string oddName = "caf\xe9"; // not UTF-8: must come back byte for byte
    std::filesystem::create_directory(topPath + "/" + oddName);
#endif
    QVERIFY(QDir(top.path()).mkdir("beta"));
    QVERIFY(QDir(top.path()).mkdir(".hidden"));

    FolderList list;
    QVERIFY(!list.setPath(native(QDir::rootPath()), topPath));
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
    QCOMPARE(subfolders[0], JoinPath(topPath, "beta"));
    QCOMPARE(subfolders[1], JoinPath(topPath, oddName));

    // A folder that cannot be listed leaves everything as it was.
    QVERIFY(list.setPath(native(QDir::rootPath()), JoinPath(topPath, "missing")).has_value());
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
    QVERIFY(!list.setPath(native(QDir::rootPath()), native(top.path())));
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
    QCOMPARE(requests[0], native(top.path() + "/inner"));
    QCOMPARE(requests[1], native(QDir::rootPath()));
}

QTEST_MAIN(FolderListTest)
#include "folder_list_test.moc"
