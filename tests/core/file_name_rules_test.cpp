#include "file_name_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmorandi;

TEST(FileNameRules, PosixForbidsOnlySlashAndNul) {
    EXPECT_TRUE(fitsPosixFileName("a:b?c*\"<>|\\.txt"));
    EXPECT_TRUE(fitsPosixFileName(std::string(1000, 'n'))) << "length is the folder's rule";
    EXPECT_TRUE(fitsPosixFileName("caf\xe9"));
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

TEST(FileNameRules, LengthCountsInTheFileSystemsUnit) {
    const std::string e = "\xc3\xa9";             // é: two bytes, one UTF-16 unit
    const std::string han = "\xe6\xbc\xa2";       // three bytes, one unit
    const std::string emoji = "\xf0\x9f\x98\x80"; // four bytes, a surrogate pair
    EXPECT_EQ(nameLength(e + han + emoji + "a", NameUnit::Bytes), 10u);
    EXPECT_EQ(nameLength(e + han + emoji + "a", NameUnit::Utf16), 5u);

    std::string accented; // 304 bytes, 152 units: fits exFAT and NTFS, not ext4
    for (int i = 0; i < 152; ++i)
        accented += e;
    EXPECT_TRUE(fitsNameLimit(accented, {255, NameUnit::Utf16}));
    EXPECT_FALSE(fitsNameLimit(accented, {255, NameUnit::Bytes}));

    std::string pairs = "a"; // 255 units exactly, then one more
    for (int i = 0; i < 127; ++i)
        pairs += emoji;
    EXPECT_TRUE(fitsNameLimit(pairs, {255, NameUnit::Utf16}));
    EXPECT_FALSE(fitsNameLimit(pairs + "b", {255, NameUnit::Utf16}));
    EXPECT_TRUE(fitsNameLimit(std::string(255, 'n'), {}));
    EXPECT_FALSE(fitsNameLimit(std::string(256, 'n'), {}));
}

// Each refusal names its rule and what breaks it: the byte, or the device as Windows spells it.
TEST(FileNameRules, EveryRefusalSaysWhatBreaksIt) {
    const auto character = NameCheck::forbiddenCharacter;
    const auto device = NameCheck::reservedDevice;
    const NameCheck empty = NameFault::Empty;
    const NameCheck fine;
    const struct {
        std::string name;
        NameCheck windows;
        NameCheck posix;
    } cases[] = {
        {"", empty, empty},
        {"a:b", character(':'), fine},
        {"what?.txt", character('?'), fine},
        {"a/b", character('/'), character('/')},
        {"back\\slash", character('\\'), fine},
        {std::string("nul\0byte", 8), character('\0'), character('\0')},
        {"tab\there", character('\t'), fine},
        {"con", device("CON"), fine},
        {"Con .tar.gz", device("CON"), fine},
        {"prn.txt", device("PRN"), fine},
        {"aux", device("AUX"), fine},
        {"nUl.log", device("NUL"), fine},
        {"com7.txt", device("COM7"), fine},
        {"lpt\xC2\xB3", device("LPT\xC2\xB3"), fine},
        {"ends in dot.", NameFault::EndsInDot, fine},
        {"ends in space ", NameFault::EndsInSpace, fine},
        {"a<b.", character('<'), fine}, // what the user typed comes first
        {"con.", device("CON"), fine},
        {std::string(256, 'n'), NameFault::TooLong, fine},
        {"com0.txt", fine, fine},
    };
    for (const auto& [name, windows, posix] : cases) {
        EXPECT_EQ(checkWindowsFileName(name), windows) << name;
        EXPECT_EQ(checkPosixFileName(name), posix) << name;
    }
}
