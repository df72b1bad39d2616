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
    for (const char* device : {"CON", "con.txt", "Prn", "aux.tar.gz", "NUL", "com1", "LPT9.log",
                               "con .txt", "Com\xC2\xB9.txt", "lpt\xC2\xB3"})
        EXPECT_FALSE(fitsWindowsFileName(device)) << device;
    for (const char* name : {"console.txt", "com0", "COM10", "lpt", "nul_file", "a.con", "ok",
                             "com\xC2\xB9x", " lead", "a.b.c"})
        EXPECT_TRUE(fitsWindowsFileName(name)) << name;
    // Windows would strip these and give the file another name than the one shown.
    for (const char* stripped : {"name.", "name ", "name. ", "a.txt.", "...", " "})
        EXPECT_FALSE(fitsWindowsFileName(stripped)) << stripped;
    // 255 UTF-16 units at most; a character beyond U+FFFF takes two.
    EXPECT_TRUE(fitsWindowsFileName(std::string(255, 'n')));
    EXPECT_FALSE(fitsWindowsFileName(std::string(256, 'n')));
    std::string emoji;
    for (int i = 0; i < 127; ++i)
        emoji += "\xF0\x9F\x98\x80";
    EXPECT_TRUE(fitsWindowsFileName(emoji + "n"));
    EXPECT_FALSE(fitsWindowsFileName(emoji + "nn"));
    EXPECT_TRUE(fitsWindowsFileName(std::string(254, 'n') + "\xC3\xA9")); // 256 bytes
}
