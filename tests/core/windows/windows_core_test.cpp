// The core as it meets Windows: names, paths, the guard, the listing.
#include "folder_listing.h"
#include "list_rows.h"
#include "on_platform.h"
#include "paths.h"
#include "platform/folder_access.h"
#include "platform/record_files.h"
#include "platform/windows/wide_text.h"
#include "protected_files.h"
#include "rename_list.h"
#include "run_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include "access_list.h"

#include <windows.h>

#include <cstdio>
#include <map>

namespace velmorandi {
namespace {

using testing::CommitRename;
using testing::statuses;
using testing::TempFolder;
using testing::TestRecords;
using Names = std::vector<std::string>;

std::wstring widePath(const TempFolder& folder, const std::string& name) {
    return platform::widen(JoinPath(folder.path(), name));
}

// A file made through the W function itself, so the name reaches the disk untouched.
bool createWideFile(const std::wstring& path) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

RenameList loadWithBases(const TempFolder& folder, const Names& bases) {
    RenameList list;
    list.load(ListFolderFiles(folder.path()).names);
    list.rewriteEditedBases([&](const std::string&, std::size_t index) { return bases.at(index); });
    list.ComposeEditedNames();
    return list;
}

TEST(WindowsNames, ReservedAndStrippedNamesAreRefusedBeforeTheDisk) {
    TempFolder folder;
    for (const char* name : {"a.txt", "b.txt", "c", "d", "e.txt", "f.txt"})
        folder.createFile(name, name);
    const auto before = folder.snapshot();
    // Device names with an extension and in any case, a final dot or space,
    // one of the nine characters; the last row alone would be fine.
    RenameList list =
        loadWithBases(folder, {"Con", "lpt3", "ends in dot.", "ends in space ", "what?", "fine"});
    testing::Calls calls;
    TestRecords records;
    RunTesting counting;
    counting.seam = testing::recordingRenames(calls);
    const testing::Committed outcome =
        CommitRename(list, folder.path(), records.control(&counting));
    EXPECT_EQ(outcome.outcome, RunOutcome::Refused);
    EXPECT_EQ(statuses(list), (Names{"Err!", "Err!", "Err!", "Err!", "Err!", ""}));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(folder.snapshot(), before);

    // Each row says what to change: the device, the final dot or space, the character.
    const NameCheck reasons[] = {
        NameCheck::reservedDevice("CON"), NameCheck::reservedDevice("LPT3"),  NameFault::EndsInDot,
        NameFault::EndsInSpace,           NameCheck::forbiddenCharacter('?'),
    };
    for (std::size_t row = 0; row < std::size(reasons); ++row)
        EXPECT_EQ(list.reasonsOf(row),
                  std::vector<RowReason>{RowReason(RowFault::NotAllowed, reasons[row])})
            << row;
}

TEST(WindowsNames, UnpairedSurrogatesMapToWtf8AndBack) {
    const std::wstring samples[] = {L"a\xD800",      L"\xDC00z",      L"\xDBFF\xDBFF",
                                    L"\xDC00\xD800", L"\xD83D\xDE00", L"caf\xE9"};
    for (const std::wstring& wide : samples)
        EXPECT_EQ(platform::widen(platform::narrow(wide)), wide);
    EXPECT_EQ(platform::narrow(L"a\xD800"), "a\xED\xA0\x80");
    EXPECT_EQ(platform::narrow(L"\xD83D\xDE00"), "\xF0\x9F\x98\x80"); // a pair is one character
    EXPECT_EQ(platform::widen("caf\xE9"), L"caf\xFFFD");              // not UTF-8 at all
}

TEST(WindowsNames, UnpairedSurrogateNameRoundTripsThroughTheDisk) {
    TempFolder folder;
    const std::string odd = "caf\xED\xA0\x80";
    if (!createWideFile(widePath(folder, odd + ".txt")))
        GTEST_SKIP() << "this file system cannot hold an unpaired surrogate (Wine)";
    ASSERT_EQ(ListFolderFiles(folder.path()).names, Names{odd + ".txt"});
    RenameList list = loadWithBases(folder, {"x-" + odd});
    TestRecords records;
    EXPECT_EQ(CommitRename(list, folder.path(), records.control()).outcome, RunOutcome::Completed);
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW(widePath(folder, "x-*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    ::FindClose(find);
    EXPECT_EQ(std::wstring(data.cFileName), L"x-caf\xD800.txt");
}

TEST(WindowsPaths, DriveRootsSeparatorsAndLetterCase) {
    EXPECT_EQ(nativePath("C:/"), "C:\\");
    EXPECT_EQ(nativePath("d:"), "d:\\");
    EXPECT_EQ(nativePath("C:/Users/me"), "C:\\Users\\me");
    EXPECT_EQ(nativePath("\\\\server\\share"), "\\\\server\\share");
    // The prefix that lifts the file functions' limits is the program's own business.
    EXPECT_EQ(nativePath("\\\\?\\C:\\Users\\me"), "C:\\Users\\me");
    EXPECT_EQ(nativePath("\\\\?\\unc\\server\\share\\x"), "\\\\server\\share\\x");
    EXPECT_EQ(nativePath("\\\\?\\Volume{1}\\x"), "\\\\?\\Volume{1}\\x");
    EXPECT_EQ(shareRoot("\\\\server\\share\\x"), "\\\\server\\share\\");
    EXPECT_EQ(shareRoot("//server/share"), "\\\\server\\share\\");
    EXPECT_EQ(shareRoot("\\\\server\\"), "");
    EXPECT_EQ(shareRoot("C:\\x"), "");
    EXPECT_EQ(JoinPath("C:\\", "a.txt"), "C:\\a.txt");
    EXPECT_EQ(JoinPath("C:\\Users", "a.txt"), "C:\\Users\\a.txt");
    EXPECT_EQ(JoinPath("\\\\server\\share", "a.txt"), "\\\\server\\share\\a.txt");

    EXPECT_TRUE(liesUnder("c:\\users\\me", "C:\\"));
    EXPECT_TRUE(liesUnder("C:\\Users\\Me", "c:\\users"));
    EXPECT_TRUE(liesUnder("C:/Users/me", "C:\\"));
    EXPECT_TRUE(liesUnder("C:\\Users\\me", "C:/"));
    EXPECT_TRUE(liesUnder("C:\\Caf\xC3\xA9\\x", "c:\\caf\xC3\x89")); // É and é
    EXPECT_FALSE(liesUnder("C:\\Usersx", "C:\\Users"));
    EXPECT_FALSE(liesUnder("D:\\Users", "C:\\"));
    EXPECT_EQ(namesBelow("C:\\", "c:\\Users\\\\me\\"), (Names{"Users", "me"}));
    EXPECT_EQ(namesBelow("C:\\Users", "C:\\"), Names{});
}

TEST(WindowsPaths, StartFolderIsReadAsUtf16) {
    TempFolder folder;
    // Greek and Japanese: outside every ANSI code page at once.
    const std::string name =
        "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC";
    folder.createFolder(name);
    const std::string expected = JoinPath(nativePath(folder.path()), name);
    wchar_t previous[MAX_PATH];
    ASSERT_GT(::GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryW(platform::widen(expected).c_str()));
    const std::string start = currentFolder();
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(start, expected);
    EXPECT_TRUE(liesUnder(start, nativePath(start.substr(0, 2))));
    // A drive root as Qt writes it still holds the start folder.
    EXPECT_TRUE(liesUnder(start, start.substr(0, 2) + "/"));
}

// Past MAX_PATH (260 characters) the folder is listed and renamed all the same:
// the file layer reaches the disk through "\\?\" paths, which have no such limit.
TEST(WindowsPaths, FolderPastMaxPathIsListedAndRenamed) {
    TempFolder top;
    std::string deep = nativePath(top.path());
    while (deep.size() <= 300) {
        deep = JoinPath(deep, std::string(40, 'd'));
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + platform::widen(deep)).c_str(), nullptr));
    }
    ASSERT_TRUE(createWideFile(L"\\\\?\\" + platform::widen(JoinPath(deep, "a.txt"))));
    RenameList list;
    list.load(ListFolderFiles(deep).names);
    ASSERT_EQ(list.rows().size(), 1u);
    list.rewriteEditedBases([](const std::string&, std::size_t) { return std::string("b"); });
    list.ComposeEditedNames();
    TestRecords records;
    EXPECT_EQ(CommitRename(list, deep, records.control()).outcome, RunOutcome::Completed);
    EXPECT_EQ(ListFolderFiles(deep).names, Names{"b.txt"});
}

EnvironmentLookup windowsEnvironment() {
    return [](const char* name) -> std::optional<std::string> {
        static const std::map<std::string, std::string> variables{
            {"SystemRoot", "C:\\Windows"},
            {"ProgramFiles", "C:\\Program Files"},
            {"ProgramData", "C:\\ProgramData"}};
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
}

bool isSafe(const std::string& folder, const EnvironmentLookup& environment) {
    RenameList list;
    list.load({"a.dll"});
    return CheckProtectedFiles(folder, list, environment);
}

TEST(WindowsGuard, SystemFoldersMatchWhateverTheSeparatorsAndCase) {
    const EnvironmentLookup environment = windowsEnvironment();
    // The drive list's root as Qt gives it, with the folder list's names below.
    const std::string system32 = JoinPath(JoinPath(nativePath("C:/"), "Windows"), "System32");
    EXPECT_FALSE(isSafe(system32, environment));
    EXPECT_FALSE(isSafe("C:/Windows\\System32", environment));
    EXPECT_FALSE(isSafe("c:\\WINDOWS", environment));
    EXPECT_FALSE(isSafe("C:\\Program Files\\Tool", environment));
    EXPECT_FALSE(isSafe("C:/ProgramData/Vendor", environment));
    EXPECT_TRUE(isSafe("C:\\Users\\me", environment));
    EXPECT_TRUE(isSafe("C:\\", environment));

    // The process's own environment, read through the W function.
    const std::optional<std::string> systemRoot = systemEnvironment("SystemRoot");
    ASSERT_TRUE(systemRoot);
    EXPECT_FALSE(isSafe(JoinPath(*systemRoot, "System32"), systemEnvironment));
}

TEST(WindowsListing, OrderOfTheSystemsOwnFileWindows) {
    TempFolder folder;
    for (const char* name : {"photo10.jpg", "photo2.jpg", "Photo.jpg",
                             "\xC3\xA9"
                             "cole",
                             "Banana", "apple", "item 10", "item 9", "Zebra"})
        folder.createFile(name);
    const Names expected{"apple",
                         "Banana",
                         "\xC3\xA9"
                         "cole",
                         "item 9",
                         "item 10",
                         "Photo.jpg",
                         "photo2.jpg",
                         "photo10.jpg",
                         "Zebra"};
    EXPECT_EQ(ListFolderFiles(folder.path()).names, expected);
}

// The system hands the entries over a buffer at a time: long names fill
// several, and each entry comes once, whole.
TEST(WindowsListing, EveryEntryOfManyBuffersComesOnceAndWhole) {
    TempFolder folder;
    Names expected;
    for (int i = 0; i < 600; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%04d", i);
        expected.push_back(std::string(number) + std::string(200, 'x') + "\xC3\xA9.jpg");
        ASSERT_TRUE(createWideFile(widePath(folder, expected.back())));
    }
    EXPECT_EQ(ListFolderFiles(folder.path()).names, expected);
}

TEST(WindowsListing, HiddenOrSystemAttributeHidesAnEntry) {
    TempFolder folder;
    for (const char* name : {"shown.txt", "hidden.txt", "system.txt", "readonly.txt"})
        folder.createFile(name);
    folder.createFolder("sub");
    folder.createFolder("hidden sub");
    ASSERT_TRUE(
        ::SetFileAttributesW(widePath(folder, "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(
        ::SetFileAttributesW(widePath(folder, "system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(
        ::SetFileAttributesW(widePath(folder, "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW(widePath(folder, "hidden sub").c_str(),
                                     FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));

    EXPECT_EQ(ListFolderFiles(folder.path()).names, (Names{"readonly.txt", "shown.txt"}));
    EXPECT_EQ(ListSubfolders(folder.path()).names, Names{"sub"});
    // Hidden files still hold their names.
    RenameList list = loadWithBases(folder, {"readonly", "hidden"});
    TestRecords records;
    EXPECT_EQ(CommitRename(list, folder.path(), records.control()).outcome, RunOutcome::NameTaken);
    ::SetFileAttributesW(widePath(folder, "readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Wine shows an access list made from a file's Unix mode bits, whatever was asked for.
bool keepsAccessLists(const TempFolder& folder) {
    const std::wstring userAlone =
        L"D:P(A;OICI;FA;;;" + platform::widen(testing::currentUser()) + L")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(userAlone.c_str(), SDDL_REVISION_1,
                                                                &descriptor, nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const bool made = ::CreateDirectoryW(widePath(folder, "probe").c_str(), &attributes);
    ::LocalFree(descriptor);
    return made && testing::fileAdmits(widePath(folder, "probe")) == Names{testing::currentUser()};
}

TEST(WindowsRun, RecordsFolderAdmitsTheUserAlone) {
    const TempFolder localAppData;
    if (!keepsAccessLists(localAppData))
        GTEST_SKIP() << "this system keeps no access list on a file (Wine makes one from its mode)";
    platform::RecordFolder records;
    ASSERT_FALSE(records.open(localAppData.at("Velmorandi")));
    EXPECT_EQ(testing::fileAdmits(platform::widen(records.path())), Names{testing::currentUser()});
}

// The records go to the user's local application data, in a folder for the
// user alone; without that variable no file is renamed, and the message says
// where the records would go and why they cannot.
TEST(WindowsRun, RecordsLiveUnderLocalAppData) {
    const std::string saved = *platform::environmentVariable("LOCALAPPDATA");
    const TempFolder localAppData;
    testing::setEnvironmentVariable("LOCALAPPDATA", localAppData.path());
    TempFolder folder;
    folder.createFile("a.txt", "a");
    const JournalStore records = JournalStore::ofUser();
    RunControl control;
    control.records = &records;
    const RunResult renamed = ExecuteRun({folder.path(), {{"a.txt", "b.txt", {}, 0, 0}}}, control);
    testing::setEnvironmentVariable("LOCALAPPDATA", "");
    const JournalStore nowhere = JournalStore::ofUser();
    control.records = &nowhere;
    const RunResult refused = ExecuteRun({folder.path(), {{"b.txt", "c.txt", {}, 0, 0}}}, control);
    testing::setEnvironmentVariable("LOCALAPPDATA", saved);

    EXPECT_EQ(renamed.outcome, RunOutcome::Completed) << testing::describe(renamed.news);
    const std::map<std::string, std::string> journals =
        testing::TempFolder::snapshotOf(localAppData.at("Velmorandi"));
    ASSERT_EQ(journals.size(), 1u);
    EXPECT_TRUE(journals.begin()->first.ends_with(".journal")) << journals.begin()->first;
    EXPECT_EQ(refused.outcome, RunOutcome::Failed);
    ASSERT_TRUE(refused.news.failure.problem) << testing::describe(refused.news);
    EXPECT_EQ(refused.news.failure.problem->kind, platform::RecordFolderProblem::Kind::NoLocation);
    EXPECT_EQ(refused.news.failure.problem->folder, "%LOCALAPPDATA%\\Velmorandi");
    EXPECT_EQ(refused.news.failure.problem->unsetVariables,
              std::vector<std::string>{"LOCALAPPDATA"});
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"b.txt", "a"}}));
}

} // namespace
} // namespace velmorandi
