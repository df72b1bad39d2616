#include "on_platform.h"
#include "protected_files.h"
#include "rename_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

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

TEST(ProtectedFiles, SystemFoldersNeedTheirSeparator) {
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
}

TEST(ProtectedFiles, SystemEnvironmentReadsTheProcessEnvironment) {
    setVariable("VELMORANDI_GUARD_TEST", " value \xC3\xA9");
    EXPECT_EQ(systemEnvironment("VELMORANDI_GUARD_TEST"), " value \xC3\xA9");
    setVariable("VELMORANDI_GUARD_TEST", nullptr);
    EXPECT_EQ(systemEnvironment("VELMORANDI_GUARD_TEST"), std::nullopt);
}

} // namespace
} // namespace velmorandi
