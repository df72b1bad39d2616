#include "folder_listing.h"
#include "folder_loader.h"
#include "on_platform.h"
#include "platform/name_limit.h"
#include "rename_list.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace velmorandi {
namespace {

using testing::TempFolder;
using Names = std::vector<std::string>;

TEST(FolderListing, ListsVisibleFilesAsExactBytes) {
    VELMORANDI_LINUX_ONLY("Latin-1 bytes, dot files and symbolic links");
    TempFolder folder;
    const std::string latin1 = "caf\xE9.txt"; // not valid UTF-8
    const std::string longest(255, 'n');
    for (const std::string& name : {std::string("two words.txt"), latin1, longest})
        folder.createFile(name);
    folder.createFile(".hidden");
    // A file left under a temporary name of a run is shown; look-alikes stay hidden.
    const std::string parked = ".velmorandi-0a1b2c3d-12";
    for (const std::string& name :
         {parked, std::string(".velmorandi-0A1B2C3D-1"), std::string(".velmorandi-0a1b2c3d-"),
          std::string(".velmorandi-0a1b2c3-1")})
        folder.createFile(name);
    folder.createFolder("sub");
    folder.createFolder(".hiddenfolder");
    folder.createLink("sub", "link to folder");
    folder.createLink("two words.txt", "link to file");
    folder.createLink("nowhere", "dangling");

    FolderListing files = ListFolderFiles(folder.path());
    ASSERT_FALSE(files.error);
    std::sort(files.names.begin(), files.names.end());
    EXPECT_EQ(files.names,
              (Names{parked, latin1, "dangling", "link to file", longest, "two words.txt"}));

    const FolderListing folders = ListSubfolders(folder.path());
    ASSERT_FALSE(folders.error);
    EXPECT_EQ(folders.names, (Names{"link to folder", "sub"}));
}

TEST(FolderListing, NaturalCaseInsensitiveOrderWithByteTieBreak) {
    VELMORANDI_LINUX_ONLY("two names that differ in case only");
    TempFolder folder;
    for (const char* name : {"photo10.jpg", "photo2.jpg", "photo.jpg", "Banana", "apple",
                             "Photo.jpg", "item 9", "item 10", "Zebra"})
        folder.createFile(name);
    const Names expected{"apple",     "Banana",     "item 9",      "item 10", "Photo.jpg",
                         "photo.jpg", "photo2.jpg", "photo10.jpg", "Zebra"};
    EXPECT_EQ(ListFolderFiles(folder.path()).names, expected);
    // The same order on every load.
    EXPECT_EQ(ListFolderFiles(folder.path()).names, expected);
}

TEST(FolderListing, UnlistableFolderGivesErrorAndNoNames) {
    TempFolder folder;
    folder.createFile("plain");
    const FolderListing gone = ListFolderFiles(folder.at("missing"));
    ASSERT_TRUE(gone.error);
    EXPECT_EQ(gone.error->code, testing::kNoSuchEntry);
    EXPECT_FALSE(gone.error->reason.empty());
    EXPECT_TRUE(gone.names.empty());

    const FolderListing notFolder = ListFolderFiles(folder.at("plain"));
    ASSERT_TRUE(notFolder.error);
    EXPECT_EQ(notFolder.error->code, testing::kNotAFolder);
    EXPECT_TRUE(ListSubfolders(folder.at("plain")).error);
}

TEST(FolderListing, JoinPathPutsExactlyOneSeparator) {
    VELMORANDI_LINUX_ONLY("\"/\" separates; Windows has its own test");
    EXPECT_EQ(JoinPath("/", "a.txt"), "/a.txt");
    EXPECT_EQ(JoinPath("/home/user", "a.txt"), "/home/user/a.txt");
    EXPECT_EQ(JoinPath("/home/user/", "a.txt"), "/home/user/a.txt");
    EXPECT_EQ(JoinPath("//server/share", "a.txt"), "//server/share/a.txt");
    EXPECT_EQ(JoinPath("/a//b", "c"), "/a//b/c");
}

TEST(FolderLoader, LoadsListThenGuardAndKeepsListOnError) {
    TempFolder folder;
    folder.createFile("b.txt");
    folder.createFile("a.txt");
    RenameList list;
    LoadOutcome outcome = LoadFolder(list, folder.path());
    EXPECT_FALSE(outcome.error);
    EXPECT_FALSE(outcome.protectedFileListed);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.row(0).listedName(), "a.txt");
    EXPECT_EQ(list.row(1).editedName(), "b.txt");

    folder.createFile("CONFIG.SYS");
    EXPECT_TRUE(LoadFolder(list, folder.path()).protectedFileListed);
    EXPECT_EQ(list.size(), 3u);

    outcome = LoadFolder(list, folder.at("missing"));
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(list.size(), 3u);
}

// The limit a load takes from the platform is the one the folder's file system
// enforces: the longest name can be created and checked, one more cannot.
TEST(FolderLoader, TakesTheNameLimitOfTheFoldersFileSystem) {
    VELMORANDI_LINUX_ONLY("files made with open(); Wine keeps names on a Linux disk");
    TempFolder folder;
    folder.createFile("a.txt");
    RenameList list;
    ASSERT_FALSE(LoadFolder(list, folder.path()).error);
    const NameLimit limit = list.nameLimit();
    EXPECT_EQ(limit, platform::fileNameLimit(folder.path()));
    ASSERT_LT(limit.maxLength, 100000u) << "this file system reports a limit";

    const auto create = [&](const std::string& name) {
        const int file = ::open(folder.at(name).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        const int code = file < 0 ? errno : 0;
        if (file >= 0)
            ::close(file);
        return code;
    };
    const std::string longest(limit.maxLength, 'n'); // ASCII: one byte, one unit
    EXPECT_EQ(create(longest), 0);
    EXPECT_EQ(create(longest + "n"), ENAMETOOLONG);

    list.rewriteEditedBases([&](const std::string&, std::size_t) { return longest.substr(4); });
    list.ComposeEditedNames();
    EXPECT_TRUE(list.CheckBlankNames()) << list.row(0).editedName().size();
    list.rewriteEditedBases([&](const std::string&, std::size_t) { return longest.substr(3); });
    list.ComposeEditedNames();
    EXPECT_FALSE(list.CheckBlankNames());
}

} // namespace
} // namespace velmorandi
