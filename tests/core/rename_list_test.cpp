#include "list_rows.h"
#include "rename_list.h"
#include "text_offsets.h"
#include "transforms/operations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmorandi;
using velmorandi::testing::editedNames;
using velmorandi::testing::statuses;

namespace {

RenameList loaded(std::vector<std::string> names) {
    RenameList list;
    list.load(std::move(names));
    return list;
}

// Drives the edited base names through Reset-like rewrites for tests.
void setEditedBases(RenameList& list, const std::vector<std::string>& bases) {
    list.rewriteEditedBases([&](const std::string&, std::size_t i) { return bases.at(i); });
    list.ComposeEditedNames();
}

} // namespace

TEST(RenameListLoad, SplitsEveryNameAtItsLastDot) {
    const auto list = loaded({"archive.tar.gz", "README", ".profile", "name.", "x.y"});
    struct Expected {
        const char* base;
        const char* extension;
    };
    const Expected expected[] = {
        {"archive.tar", "gz"}, {"README", ""}, {"", "profile"}, {"name", ""}, {"x", "y"}};
    ASSERT_EQ(list.size(), 5u);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto& row = list.row(i);
        EXPECT_EQ(row.originalBase(), expected[i].base) << row.listedName();
        EXPECT_EQ(row.extension(), expected[i].extension) << row.listedName();
        EXPECT_EQ(row.editedBase(), row.originalBase());
        EXPECT_EQ(row.editedName(), row.listedName()) << "edited name starts as the listed name";
        EXPECT_EQ(row.status(), RowStatus::None);
    }
    EXPECT_EQ(serialText(0), "1");
    EXPECT_EQ(serialText(9), "10");
}

TEST(RenameListLoad, ReplacesEverythingOfThePreviousFolder) {
    auto list = loaded({"a.txt", "b.txt", "c.txt"});
    setEditedBases(list, {"x", "y", "z"});
    list.MarkAllDone();
    list.load({"only.md"});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.row(0).editedName(), "only.md");
    EXPECT_EQ(list.row(0).status(), RowStatus::None);

    list.load({});
    EXPECT_TRUE(list.empty());
}

TEST(RenameListLoad, KeepsNamesAsExactBytes) {
    const std::string latin1 = "caf\xe9.txt"; // not valid UTF-8
    const auto list = loaded({latin1});
    EXPECT_EQ(list.row(0).listedName(), latin1);
    EXPECT_EQ(list.row(0).originalBase(), "caf\xe9");
}

TEST(ComposeEditedNames, JoinsBaseAndExtensionAndClearsStatus) {
    auto list = loaded({"notes.txt", "README", "name."});
    list.MarkAllDone();
    setEditedBases(list, {"", "", "name"});
    EXPECT_EQ(list.row(0).editedName(), ".txt");
    EXPECT_EQ(list.row(1).editedName(), "");
    EXPECT_EQ(list.row(2).editedName(), "name.") << "a trailing dot stays";
    EXPECT_EQ(statuses(list), (std::vector<std::string>{"", "", ""}));
}

TEST(ComposeEditedNames, KeepsTheLastDotOfEveryListedName) {
    auto list = loaded({"foo", "foo.", "a..", "notes.txt"});
    list.Reset();
    EXPECT_EQ(editedNames(list), (std::vector<std::string>{"foo", "foo.", "a..", "notes.txt"}));
    EXPECT_TRUE(list.CheckDuplicateNames()) << "foo and foo. stay two names";
    EXPECT_TRUE(list.CheckBlankNames());

    list.rewriteEditedBases(
        [](const std::string& base, std::size_t) { return AddString(base, "X", Side::Right); });
    list.ComposeEditedNames();
    EXPECT_EQ(editedNames(list), (std::vector<std::string>{"fooX", "fooX.", "a.X.", "notesX.txt"}));

    // Blank leaves the dot alone, as it leaves an extension: "." is refused like ".txt".
    list.Blank();
    EXPECT_EQ(editedNames(list), (std::vector<std::string>{"", ".", ".", ".txt"}));
    EXPECT_FALSE(list.CheckBlankNames());
    EXPECT_EQ(statuses(list), (std::vector<std::string>{"Err!", "Err!", "Err!", "Err!"}));
}

TEST(CheckDuplicateNames, MarksEveryRowThatSharesItsNameExactly) {
    auto list = loaded({"1", "2", "3", "4", "5", "6"});
    setEditedBases(list, {"same", "Photo", "same", "photo", "other", "same"});
    EXPECT_FALSE(list.CheckDuplicateNames());
    EXPECT_EQ(statuses(list), (std::vector<std::string>{"Err!", "", "Err!", "", "", "Err!"}));

    // Swapped names are no duplicates, and a row may keep its own name.
    auto swapped = loaded({"a", "b", "c"});
    setEditedBases(swapped, {"b", "a", "c"});
    EXPECT_TRUE(swapped.CheckDuplicateNames());
    EXPECT_TRUE(swapped.CheckBlankNames());

    RenameList empty;
    EXPECT_TRUE(empty.CheckDuplicateNames());
}

TEST(CheckBlankNames, MarksEmptyDotLeadingAndUnholdableNames) {
    auto list = loaded({"a.txt", "b", "c.txt", "d", "e", "f", "g"});
    setEditedBases(list, {"", "", " lead", "trail ", "dir/name", std::string(256, 'x'),
                          std::string(255, 'y')});
    EXPECT_FALSE(list.CheckBlankNames());
#ifdef _WIN32
    const std::string trailingSpace = "Err!"; // Windows would strip it
#else
    const std::string trailingSpace = "";
#endif
    EXPECT_EQ(statuses(list),
              (std::vector<std::string>{"Err!", "Err!", "", trailingSpace, "Err!", "Err!", ""}));
}

TEST(CheckBlankNames, FolderRulesMeetOnlyChangedNames) {
    std::string accented; // 304 bytes in 152 UTF-16 units, as exFAT and NTFS can hold
    for (int i = 0; i < 152; ++i)
        accented += "\xc3\xa9";
    const std::string longName = accented + ".txt";
    const std::vector<std::string> names{longName, "short.txt", "slash", ".hidden"};

    RenameList list;
    list.load(names, {255, NameUnit::Bytes}); // the strictest reading of the same folder
    list.Reset();
    EXPECT_FALSE(list.CheckBlankNames());
    EXPECT_EQ(statuses(list), (std::vector<std::string>{"", "", "", "Err!"}))
        << "an unchanged name is held already; a leading dot is still refused";

    setEditedBases(list, {accented + "x", accented, "a/b", "h"});
    EXPECT_FALSE(list.CheckBlankNames());
    EXPECT_EQ(statuses(list), (std::vector<std::string>{"Err!", "Err!", "Err!", ""}));

    list.load(names, {255, NameUnit::Utf16});
    setEditedBases(list, {accented + "x", accented, "ok", "h"});
    EXPECT_TRUE(list.CheckBlankNames()) << "255 UTF-16 units hold more than 255 bytes";
    EXPECT_EQ(list.nameLimit(), (NameLimit{255, NameUnit::Utf16}));
    list.load(names);
    EXPECT_EQ(list.nameLimit(), NameLimit{}) << "a limit belongs to the folder it came with";
}

// Whatever a row breaks, its reasons say which rule, in the order of the rules,
// and what the user must change: the row it shares its name with, the byte.
TEST(RowReasons, EveryRefusalTellsItsRuleAndWhatBreaksIt) {
    RenameList list;
    list.load({"0", "1", "2", "3", "4.txt", "5", "6", "7", "8", "9", "10", "11"},
              {20, NameUnit::Bytes});
    setEditedBases(list, {"same", "", ".hidden", "same", "a/b", std::string("nul\0", 4),
                          std::string(21, 'x'), "same", ".dot", ".dot", "fine", "11"});
    list.markError(11, RowFault::TakenOnDisk);
    EXPECT_FALSE(list.CheckDuplicateNames());
    EXPECT_FALSE(list.CheckBlankNames());

    const RowReason dot(RowFault::LeadingDot, NameFault::LeadingDot);
    const auto character = [](char c) {
        return RowReason(RowFault::NotAllowed, NameCheck::forbiddenCharacter(c));
    };
    const auto sameAs = [](std::size_t row) { return RowReason(RowFault::Duplicate, {}, row); };
    const std::vector<std::vector<RowReason>> expected = {
        {sameAs(3)},
        {{RowFault::Blank, NameFault::Empty}},
        {dot},
        {sameAs(0)},
        {character('/')},
        {character('\0')},
        {{RowFault::TooLong, NameFault::TooLong}},
        {sameAs(0)},
        {sameAs(9), dot},
        {sameAs(8), dot},
        {},
        {{RowFault::TakenOnDisk}},
    };
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list.reasonsOf(i), expected[i]) << "row " << i;
}

TEST(Checks, NeverClearAMarkAndTwoEmptyNamesFailBoth) {
    auto list = loaded({"a", "b", "keep"});
    list.MarkAllDone();
    setEditedBases(list, {"", "", "keep"});
    list.MarkAllDone();
    EXPECT_FALSE(list.CheckDuplicateNames());
    EXPECT_FALSE(list.CheckBlankNames());
    EXPECT_EQ(statuses(list), (std::vector<std::string>{"Err!", "Err!", "Done"}));

    setEditedBases(list, {"x", "y", "keep"});
    list.markError(0);
    EXPECT_TRUE(list.CheckDuplicateNames());
    EXPECT_TRUE(list.CheckBlankNames());
    EXPECT_EQ(list.row(0).status(), RowStatus::Error) << "a passed check keeps an earlier mark";
}

TEST(BlankAndReset, RewriteEveryEditedBaseName) {
    auto list = loaded({"notes.txt", "README", "  spaced\t.md"});
    list.Blank();
    EXPECT_EQ(list.row(0).editedName(), ".txt");
    EXPECT_EQ(list.row(1).editedName(), "");
    EXPECT_EQ(list.row(2).editedName(), ".md");

    list.MarkAllDone();
    list.Reset();
    EXPECT_EQ(list.row(0).editedName(), "notes.txt");
    EXPECT_EQ(list.row(1).editedName(), "README");
    EXPECT_EQ(list.row(2).editedName(), "spaced\t.md") << "only leading spaces go";
    EXPECT_EQ(list.row(2).status(), RowStatus::None);
}

// A row keeps no part of its names: every part must come back from the names
// themselves, through edits and through a run that makes the edited names the
// listed ones, in a new order or in the same one.
TEST(RenameListLayout, RowsRememberTheirLastDotThroughEditsAndRuns) {
    auto list = loaded({"README", "name.", ".profile", "archive.tar.gz", "..x"});
    const auto parts = [&](std::size_t i) {
        const RenameRow row = list.row(i);
        return std::string(row.originalBase()) + "|" + std::string(row.extension()) + "|" +
               (row.hasLastDot() ? "dot" : "none");
    };
    EXPECT_EQ(parts(0), "README||none");
    EXPECT_EQ(parts(1), "name||dot");
    EXPECT_EQ(parts(2), "|profile|dot") << "an empty base";
    EXPECT_EQ(parts(3), "archive.tar|gz|dot");
    EXPECT_EQ(parts(4), ".|x|dot");

    list.rewriteEditedBases(
        [](std::string_view base, std::size_t) { return std::string(base) + "."; });
    EXPECT_EQ(editedNames(list), (std::vector<std::string>{"README.", "name..", "..profile",
                                                           "archive.tar..gz", "...x"}));
    EXPECT_EQ(list.row(0).editedBase(), "README.");
    EXPECT_EQ(list.row(2).originalBase(), "") << "the listed name is untouched by edits";

    list.Blank();
    EXPECT_EQ(editedNames(list), (std::vector<std::string>{"", ".", ".profile", ".gz", ".x"}));
    setEditedBases(list, {"b", "README", "c", "a", "d"});
    const std::vector<std::uint32_t> order{3, 1, 0, 2, 4};
    list.adoptEditedNames(order);
    EXPECT_EQ(editedNames(list),
              (std::vector<std::string>{"a.gz", "README.", "b", "c.profile", "d.x"}));
    EXPECT_EQ(statuses(list), (std::vector<std::string>{"Done", "Done", "Done", "Done", "Done"}));
    EXPECT_EQ(parts(1), "README||dot") << "a new trailing dot is the last dot now";
    EXPECT_EQ(parts(2), "b||none");
    for (const RenameRow row : list.rows())
        EXPECT_EQ(row.editedName(), row.listedName());

    setEditedBases(list, {"a1", "b1", "c1", "d1", "e1"});
    list.adoptEditedNames(std::vector<std::uint32_t>{0, 1, 2, 3, 4});
    EXPECT_EQ(editedNames(list),
              (std::vector<std::string>{"a1.gz", "b1.", "c1", "d1.profile", "e1.x"}));
    EXPECT_EQ(parts(3), "d1|profile|dot");
    EXPECT_EQ(statuses(list), (std::vector<std::string>{"Done", "Done", "Done", "Done", "Done"}));
}

// Rows keep where their names start in four bytes; a text past 4 GiB still
// finds every name.
TEST(RenameListLayout, OffsetsPastFourGibibytes) {
    constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
    const std::vector<std::uint64_t> offsets{
        0, 7, 4 * kGiB - 1, 4 * kGiB, 4 * kGiB + 5, 13 * kGiB, 13 * kGiB};
    TextOffsets kept;
    for (const std::uint64_t offset : offsets)
        kept.push_back(offset);
    ASSERT_EQ(kept.size(), offsets.size());
    for (std::size_t i = 0; i < offsets.size(); ++i)
        EXPECT_EQ(kept[i], offsets[i]) << i;
}
