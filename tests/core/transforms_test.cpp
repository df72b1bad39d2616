#include "letter_case.h"
#include "list_rows.h"
#include "rename_list.h"
#include "transforms/operations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmorandi;
using velmorandi::testing::editedNames;

namespace {

struct Case {
    std::string input;
    std::string expected;
};

RenameList loaded(std::vector<std::string> names) {
    RenameList list;
    list.load(std::move(names));
    return list;
}

} // namespace

TEST(FindAndReplace, ReplacesEveryExactOccurrenceFromTheLeft) {
    EXPECT_EQ(FindAndReplace("Banana", "a", "o"), "Bonono");
    EXPECT_EQ(FindAndReplace("Banana", "b", "x"), "Banana") << "case counts";
    EXPECT_EQ(FindAndReplace("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(FindAndReplace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(FindAndReplace("a", "a", "aa"), "aa") << "the replacement is not searched again";
    EXPECT_EQ(FindAndReplace("my holiday photo", " ", "_"), "my_holiday_photo");
    EXPECT_EQ(FindAndReplace("letter-copy", "-copy", ""), "letter");
    EXPECT_EQ(FindAndReplace("abc", "", "x"), "abc");
    EXPECT_EQ(FindAndReplace("*.?", "*", "x"), "x.?") << "no wildcards";
    EXPECT_EQ(FindAndReplace("caf\xe9 a", "a", "o"), "cof\xe9 o") << "invalid bytes kept";
    EXPECT_EQ(FindAndReplace("\xc3\xa9t\xc3\xa9", "\xc3\xa9", "e"), "ete");
}

TEST(ChangeCase, FourRulesOnTheExamples) {
    EXPECT_EQ(ChangeCase("hELLO wORLD", CaseMode::Upper), "HELLO WORLD");
    EXPECT_EQ(ChangeCase("hELLO wORLD", CaseMode::Lower), "hello world");
    EXPECT_EQ(ChangeCase("hELLO wORLD", CaseMode::Title), "Hello World");
    EXPECT_EQ(ChangeCase("hELLO wORLD", CaseMode::Sentence), "Hello world");

    const Case title[] = {{"my_file-name final", "My_file-name Final"},
                          {"o'neil mcDONALD", "O'neil Mcdonald"},
                          {"2nd try", "2nd Try"},
                          {"(copy) notes", "(copy) Notes"},
                          {"a  b", "A  B"},
                          {"USB stick", "Usb Stick"},
                          {"tab\tsep", "Tab\tSep"},
                          {"", ""}};
    for (const auto& c : title)
        EXPECT_EQ(ChangeCase(c.input, CaseMode::Title), c.expected) << c.input;

    const Case sentence[] = {{"USB stick", "Usb stick"},
                             {"first. second", "First. second"},
                             {" Leading Space", " leading space"},
                             {"9 LIVES", "9 lives"}};
    for (const auto& c : sentence)
        EXPECT_EQ(ChangeCase(c.input, CaseMode::Sentence), c.expected) << c.input;
}

TEST(ChangeCase, LettersOfEveryScriptAndInvalidBytesUntouched) {
    EXPECT_EQ(ChangeCase("\xc3\xa9lan vital", CaseMode::Title), "\xc3\x89lan Vital"); // élan
    EXPECT_EQ(ChangeCase("\xd0\xbf\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", CaseMode::Upper),
              "\xd0\x9f\xd0\xa0\xd0\x98\xd0\x92\xd0\x95\xd0\xa2"); // привет
    EXPECT_EQ(ChangeCase("\xce\x91\xce\x92\xce\x93", CaseMode::Lower),
              "\xce\xb1\xce\xb2\xce\xb3"); // ΑΒΓ
#ifdef _WIN32
    EXPECT_EQ(ChangeCase("stra\xc3\x9f"
                         "e",
                         CaseMode::Upper),
              "STRA\xc3\x9f"
              "E")
        << "as Windows does";
#else
    EXPECT_EQ(ChangeCase("stra\xc3\x9f"
                         "e",
                         CaseMode::Upper),
              "STRASSE")
        << "full mapping";
#endif
    EXPECT_EQ(ChangeCase("\xe6\x97\xa5\xe6\x9c\xac 1", CaseMode::Upper),
              "\xe6\x97\xa5\xe6\x9c\xac 1"); // caseless script
    // A Latin-1 byte is no character: it passes as it is and uses up the word start.
    EXPECT_EQ(ChangeCase("caf\xe9 AU LAIT", CaseMode::Lower), "caf\xe9 au lait");
    EXPECT_EQ(ChangeCase("\xe9t\xe9 ici", CaseMode::Title), "\xe9t\xe9 Ici");
    EXPECT_EQ(ChangeCase("ab\xff\xfe"
                         "cd",
                         CaseMode::Upper),
              "AB\xff\xfe"
              "CD");
}

// The digraph letters have a title case of their own between upper and lower:
// a word's first letter takes it, from any of the three forms, and the other
// rules leave it alone.
TEST(ChangeCase, DigraphLettersTakeTheirTitleCase) {
    struct Digraph {
        const char* lower;
        const char* title;
        const char* upper;
    };
    const Digraph digraphs[] = {{"\u01c6", "\u01c5", "\u01c4"},  // dž
                                {"\u01c9", "\u01c8", "\u01c7"},  // lj
                                {"\u01cc", "\u01cb", "\u01ca"},  // nj
                                {"\u01f3", "\u01f2", "\u01f1"}}; // dz
    for (const auto& d : digraphs) {
        const std::string lower = d.lower, title = d.title, upper = d.upper;
        for (const std::string& first : {lower, title, upper}) {
            const std::string word = first + "UNGLA";
            EXPECT_EQ(ChangeCase(word, CaseMode::Title), title + "ungla") << word;
            EXPECT_EQ(ChangeCase(word, CaseMode::Sentence), title + "ungla") << word;
            EXPECT_EQ(ChangeCase("a  " + word + "\t" + word, CaseMode::Title),
                      "A  " + title + "ungla\t" + title + "ungla")
                << word;
            EXPECT_EQ(ChangeCase("a " + word, CaseMode::Sentence), "A " + lower + "ungla") << word;
            EXPECT_EQ(ChangeCase(word, CaseMode::Upper), upper + "UNGLA") << word;
            EXPECT_EQ(ChangeCase(word, CaseMode::Lower), lower + "ungla") << word;
        }
    }
    EXPECT_EQ(ChangeCase("d\u017eungla", CaseMode::Title), "D\u017eungla") << "two letters";
}

// ASCII letters change case eight bytes at a time: every byte value at every
// place of a name, beside letters of both cases, keeps to the one-byte rule.
TEST(LetterCase, AsciiLettersEveryByteEveryPlace) {
    const std::string around = "aZ.z-Aq9M@[`{";
    for (int value = 1; value < 256; ++value) {
        for (std::size_t at = 0; at < 17; ++at) {
            std::string name = around + around;
            name.resize(17);
            name[at] = static_cast<char>(value);
            std::string lower = name;
            std::string upper = name;
            for (std::size_t i = 0; i < name.size(); ++i) {
                if (name[i] >= 'A' && name[i] <= 'Z')
                    lower[i] = static_cast<char>(name[i] + 32);
                if (name[i] >= 'a' && name[i] <= 'z')
                    upper[i] = static_cast<char>(name[i] - 32);
            }
            // A lone byte above ASCII is no UTF-8: only the ASCII letters change.
            ASSERT_EQ(lowerCase(name), lower) << value << " at " << at;
            if (value < 0x80) {
                std::string mapped;
                appendLocaleCase(mapped, name, CaseMapping::Upper);
                ASSERT_EQ(mapped, upper) << value << " at " << at;
            }
        }
    }
}

TEST(AddStringSerializeTrim, PureRules) {
    EXPECT_EQ(AddString("1234", "IMG_", Side::Left), "IMG_1234");
    EXPECT_EQ(AddString("letter", " copy", Side::Right), "letter copy");
    EXPECT_EQ(AddString(AddString("a", "x", Side::Left), "x", Side::Left), "xxa");

    EXPECT_EQ(Serialize("a", 1, 12, Side::Left), "01a");
    EXPECT_EQ(Serialize("b", 12, 12, Side::Right), "b12");
    EXPECT_EQ(Serialize("a", 9, 9, Side::Left), "9a");
    EXPECT_EQ(Serialize("a", 1, 10, Side::Left), "01a");
    EXPECT_EQ(Serialize("a", 1, 100, Side::Left), "001a");
    EXPECT_EQ(Serialize("a", 7, 100000, Side::Left), "000007a") << "no 16-bit limit";

    EXPECT_EQ(TrimSpaces("  a b  ", Side::Left), "a b  ");
    EXPECT_EQ(TrimSpaces("  a b  ", Side::Right), "  a b");
    EXPECT_EQ(TrimSpaces("   ", Side::Left), "");
    EXPECT_EQ(TrimSpaces("   ", Side::Right), "");
    EXPECT_EQ(TrimSpaces("\xc2\xa0x", Side::Left), "\xc2\xa0x") << "no-break space stays";
    EXPECT_EQ(TrimSpaces("\tx ", Side::Right), "\tx");
}

TEST(ApplyOperation, RewritesBasesOnlyAndRecomposes) {
    auto list = loaded({"report.final.txt", "photo.jpg", "README", ".profile"});
    OperationInputs in;
    in.caseMode = CaseMode::Upper;
    ApplyOperation(list, Operation::ChangeCase, in);
    EXPECT_EQ(editedNames(list),
              (std::vector<std::string>{"REPORT.FINAL.txt", "PHOTO.jpg", "README", ".profile"}));

    in.findText = ".";
    in.replaceText = "_";
    ApplyOperation(list, Operation::FindAndReplace, in);
    EXPECT_EQ(list.row(0).editedName(), "REPORT_FINAL.txt")
        << "the extension's dot is out of reach";

    in.addText = "x";
    in.addSide = Side::Left;
    ApplyOperation(list, Operation::AddString, in);
    EXPECT_EQ(list.row(3).editedName(), "x.profile");

    in.serialSide = Side::Right;
    ApplyOperation(list, Operation::Serialize, in);
    EXPECT_EQ(editedNames(list), (std::vector<std::string>{"xREPORT_FINAL1.txt", "xPHOTO2.jpg",
                                                           "xREADME3", "x4.profile"}));
}

// The Apply buttons, left to right, name the five operations in the frames' order.
TEST(ApplyOperation, NoChoiceStillClearsStatusButUnknownIndexDoesNothing) {
    auto list = loaded({"a.txt", "b.txt"});
    const OperationInputs nothingChosen;
    const Operation frames[]{Operation::FindAndReplace, Operation::ChangeCase, Operation::AddString,
                             Operation::Serialize, Operation::TrimSpaces};
    for (int index = 0; index <= 4; ++index) {
        const std::optional<Operation> operation = ApplyButtonOperation(index);
        ASSERT_EQ(operation, frames[index]) << index;
        list.MarkAllDone();
        ApplyOperation(list, *operation, nothingChosen);
        EXPECT_EQ(editedNames(list), (std::vector<std::string>{"a.txt", "b.txt"})) << index;
        EXPECT_EQ(list.row(0).status(), RowStatus::None) << index;
    }
    for (int index : {-1, 5, 32767})
        EXPECT_FALSE(ApplyButtonOperation(index)) << index;
}

TEST(ApplyOperation, CompoundsAndSerialFollowsRows) {
    auto list = loaded({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"});
    OperationInputs in;
    in.serialSide = Side::Left;
    ApplyOperation(list, Operation::Serialize, in);
    ApplyOperation(list, Operation::Serialize, in);
    EXPECT_EQ(list.row(0).editedName(), "0101a");
    EXPECT_EQ(list.row(11).editedName(), "1212l");
    in.trimSide = Side::Right;
    list.Reset();
    ApplyOperation(list, Operation::TrimSpaces, in);
    EXPECT_EQ(list.row(0).editedName(), "a");
}
