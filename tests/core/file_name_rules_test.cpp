#include "file_name_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmorandi;

TEST(FileNameRules, PosixForbidsOnlySlashNulAndOverlongNames) {
    EXPECT_TRUE(fitsPosixFileName("a:b?c*\"<>|\\.txt"));
    EXPECT_TRUE(fitsPosixFileName(std::string(255, 'n')));
    EXPECT_TRUE(fitsPosixFileName("caf\xe9"));
    EXPECT_FALSE(fitsPosixFileName(std::string(256, 'n')));
    EXPECT_FALSE(fitsPosixFileName("a/b"));
    EXPECT_FALSE(fitsPosixFileName(std::string("a\0b", 3)));
    EXPECT_FALSE(fitsPosixFileName(""));
}

TEST(FileNameRules, WindowsForbidsTheNineCharactersControlsAndDevices) {
    for (char c : std::string("\\/:*?\"<>|"))
        EXPECT_FALSE(fitsWindowsFileName(std::string("a") + c + "b")) << c;
    EXPECT_FALSE(fitsWindowsFileName("tab\there"));
    for (const char* device : {"CON", "con.txt", "Prn", "aux.tar.gz", "NUL", "com1", "LPT9.log"})
        EXPECT_FALSE(fitsWindowsFileName(device)) << device;
    for (const char* name : {"console.txt", "com0", "COM10", "lpt", "nul_file", "a.con", "ok"})
        EXPECT_TRUE(fitsWindowsFileName(name)) << name;
}
