#include "folder_listing.h"
#include "letter_case.h"
#include "on_platform.h"
#include "platform/folder_access.h"
#include "protected_files.h"
#include "rename_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <sstream>

#ifdef _WIN32
#include "platform/windows/wide_text.h"
#include <windows.h>
#endif

namespace velmorandi {
namespace {

using Variables = std::map<std::string, std::string>;

// Sets or, given no value, removes a variable of this process.
void setVariable(const char* name, const char* value) {
#ifdef _WIN32
    ::SetEnvironmentVariableW(platform::widen(name).c_str(),
                              value ? platform::widen(value).c_str() : nullptr);
#else
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}

EnvironmentLookup environmentOf(Variables variables) {
    return [variables](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        if (found == variables.end())
            return std::nullopt;
        return found->second;
    };
}

bool isSafe(const std::string& folder, std::vector<std::string> names,
            const Variables& variables = {}) {
    RenameList list;
    list.load(std::move(names));
    return CheckProtectedFiles(folder, list, environmentOf(variables));
}

TEST(ProtectedFiles, FixedStartUpNamesMatchAnywhereIgnoringCase) {
    EXPECT_TRUE(isSafe("/home/user", {}));
    EXPECT_TRUE(isSafe("/home/user", {"notes.txt", "photo.jpg"}));
    EXPECT_FALSE(isSafe("/home/user", {"notes.txt", "AUTOEXEC.BAT"}));
    EXPECT_FALSE(isSafe("/home/user", {"config.sys.bak"}));
    EXPECT_FALSE(isSafe("/home/user/config.sys.old", {"readme"}));
    EXPECT_FALSE(isSafe("/media/stick", {"Command.Com"}));
}

TEST(ProtectedFiles, VariablesAreSplitTrimmedAndEmptyEntriesSkipped) {
    const Variables windows{{"SystemRoot", "  /mnt/c/Windows "}};
    EXPECT_FALSE(isSafe("/mnt/c/WINDOWS", {"a.dll"}, windows));
    EXPECT_FALSE(isSafe("/mnt/c/windows/System32", {"a.dll"}, windows));
    EXPECT_FALSE(isSafe("/mnt/c/windows.old", {"a.dll"}, windows));
    EXPECT_TRUE(isSafe("/mnt/c/Users", {"a.dll"}, windows));
    EXPECT_FALSE(isSafe("/mnt/c", {"notes.txt", "WINDOWS"}, windows)); // across the separator

    const Variables several{{"ProgramFiles", "/opt/one; ;/opt/two"}, {"ProgramData", ""}};
    EXPECT_FALSE(isSafe("/opt/two", {"x"}, several));
    EXPECT_FALSE(isSafe("/opt/one", {"x"}, several));
    EXPECT_TRUE(isSafe("/opt/three", {"x"}, several));
}

TEST(ProtectedFiles, SystemFoldersCountOnlyAtTheStartOfThePath) {
    VELMORANDI_LINUX_ONLY("the system folders of Linux");
    EXPECT_FALSE(isSafe("/etc", {"passwd"}));
    EXPECT_FALSE(isSafe("/boot", {"vmlinuz"}));
    EXPECT_TRUE(isSafe("/", {"vmlinuz"}));
    EXPECT_FALSE(isSafe("/", {"autoexec.bat"}));
    EXPECT_FALSE(isSafe("/usr/local/bin", {"tool"}));
    EXPECT_FALSE(isSafe("/var/lib/app", {"state"}));
    EXPECT_TRUE(isSafe("/etcetera", {"notes"}));
    EXPECT_TRUE(isSafe("/var/log", {"syslog"}));
    EXPECT_TRUE(isSafe("/home/usr-data", {"notes"}));
    EXPECT_FALSE(isSafe("/USR/share", {"notes"}));
    for (const char* ordinary : {"/home/user/dev", "/home/user/bin", "/srv/project/lib/x",
                                 "/home/user/etc/", "/media/stick/usr/local"})
        EXPECT_TRUE(isSafe(ordinary, {"notes"})) << ordinary;
    EXPECT_FALSE(isSafe("/home/user/dev", {"notes"}, {{"ProgramData", "/dev"}}))
        << "the environment's entries still count anywhere";
}

// The rule for one row as it reads: the whole path lowered in one go, every
// entry searched anywhere in it, the system folders at its start.
bool plainRuleIsSafe(const std::string& folder, const std::vector<std::string>& names,
                     const Variables& variables) {
    std::string text;
    for (const char* variable : {"ProgramData", "ProgramFiles", "SystemRoot"}) {
        const auto found = variables.find(variable);
        text += (found == variables.end() ? std::string() : found->second) + ";";
    }
    text += "autoexec.bat;config.sys;command.com";
    std::vector<std::string> entries;
    std::stringstream split(text);
    for (std::string entry; std::getline(split, entry, ';');) {
        const auto first = entry.find_first_not_of(' ');
        if (first != std::string::npos)
            entries.push_back(
                lowerCase(entry.substr(first, entry.find_last_not_of(' ') - first + 1)));
    }
    for (const std::string& name : names) {
        const std::string path = lowerCase(JoinPath(folder, name));
        for (const std::string& entry : entries)
            if (path.find(entry) != std::string::npos)
                return false;
        for (const std::string_view systemFolder : platform::systemFolders())
            if (path.starts_with(systemFolder))
                return false;
    }
    return true;
}

// Folders, names and variables built from pieces that meet across the separator,
// change length or context when lowered (final sigma, dotted I, Kelvin sign),
// or are not UTF-8 at all.
TEST(ProtectedFiles, SameVerdictAsThePlainRuleForEveryRow) {
    VELMORANDI_LINUX_ONLY("the plain rule joins with \"/\" and lowers the path as it is");
    const std::vector<std::string> folderPieces = {
        "home",      "usr",      "etc",          "Dev",
        "lib",       "Windows",  "WIN",          "\xc3\x84\x42\x43",
        "A\xce\xa3", "caf\xe9",  "config.sy",    "s",
        "x",         "\xc4\xb0", "\xe2\x84\xaa", ""};
    const std::vector<std::string> namePieces = {"s",
                                                 "S",
                                                 ".",
                                                 "YS",
                                                 "config",
                                                 "AUTOEXEC.bat",
                                                 "dows",
                                                 "\xc3\xa4\x62\x63",
                                                 "\xc3\x84",
                                                 "\xce\xa3",
                                                 "\xcf\x82",
                                                 "\xe9",
                                                 "x",
                                                 "k",
                                                 "\xe2\x84\xaa",
                                                 "mand.com",
                                                 "a"};
    const std::vector<std::string> valuePieces = {
        " /home/\xc3\xa4", "bc/s",     "\xce\xa3/",  " /etc ",     "win",    "/Windows/x", "k/k",
        "s/config",        "\xc3\xa4", "\xcf\x82/s", "i\xcc\x87/", "\xe9/x", "",           " "};
    std::mt19937 random(20240611);
    const auto pick = [&](const std::vector<std::string>& pieces) {
        return pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    };
    const auto count = [&](int most) {
        return std::uniform_int_distribution<int>(0, most)(random);
    };

    int protectedCount = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string folder;
        for (int i = count(3); i >= 0; --i)
            folder += "/" + pick(folderPieces) + (count(2) == 0 ? pick(folderPieces) : "");
        std::vector<std::string> names(1 + count(2));
        for (std::string& name : names)
            for (int i = count(3); i >= 0; --i)
                name += pick(namePieces);
        Variables variables;
        for (const char* variable : {"ProgramData", "ProgramFiles", "SystemRoot"}) {
            if (count(1) == 0)
                continue;
            std::string& value = variables[variable];
            for (int i = count(2); i >= 0; --i)
                value += pick(valuePieces) + (count(1) == 0 ? ";" : "");
        }
        const bool expected = plainRuleIsSafe(folder, names, variables);
        ASSERT_EQ(isSafe(folder, names, variables), expected)
            << "folder " << folder << ", first name " << names.front() << ", round " << round;
        protectedCount += expected ? 0 : 1;
    }
    EXPECT_GT(protectedCount, 400);
    EXPECT_LT(protectedCount, 3600);
}

TEST(ProtectedFiles, SystemEnvironmentReadsTheProcessEnvironment) {
    setVariable("VELMORANDI_GUARD_TEST", " value \xC3\xA9");
    EXPECT_EQ(systemEnvironment("VELMORANDI_GUARD_TEST"), " value \xC3\xA9");
    setVariable("VELMORANDI_GUARD_TEST", nullptr);
    EXPECT_EQ(systemEnvironment("VELMORANDI_GUARD_TEST"), std::nullopt);
}

} // namespace
} // namespace velmorandi
