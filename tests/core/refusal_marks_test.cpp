#include "refusal_marks.h"
#include "rename_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmorandi;

namespace {

// The listed names, then the edited base of each row.
RenameList edited(const std::vector<std::string>& names, const std::vector<std::string>& bases,
                  NameLimit limit = {}) {
    RenameList list;
    list.load(names, limit);
    list.rewriteEditedBases([&](const std::string&, std::size_t i) { return bases.at(i); });
    return list;
}

std::vector<RowFaults> faultsOf(const RefusalMarks& marks) {
    std::vector<RowFaults> faults;
    for (std::size_t i = 0; i < marks.rows(); ++i)
        faults.push_back(marks.faultsOf(i));
    return faults;
}

} // namespace

TEST(RefusalMarks, MarkWhatRenameRefusesAndGoRoundTheMarkedRows) {
    const std::vector<std::string> names = {"a.txt",    "b.txt", "c.txt", "d.txt", "e.txt", "f.txt",
                                            "keep.txt", "g",     "h",     "i",     "j.txt"};
    const std::vector<std::string> bases = {
        "x",                 // 0: the same name as row 1
        "x",                 // 1
        "",                  // 2: ".txt", a leading dot
        "keep",              // 3: the name row 6 keeps
        "a",                 // 4: row 0's name, which row 0 gives up
        "f",                 // 5: unchanged
        "keep",              // 6: unchanged
        "Photos",            // 7: a sub-folder's name
        "",                  // 8: empty
        "i/2",               // 9: a character no system allows
        std::string(30, 'n') // 10: longer than the drive holds
    };
    const FolderNames beside{{"Photos", ".hidden"}, false};
    RenameList list = edited(names, bases, NameLimit{24, NameUnit::Bytes});
    RefusalMarks marks;
    marks.check(list, beside);
    using namespace RowFault;
    const std::vector<RowFaults> expected = {Duplicate, Duplicate,  LeadingDot, Duplicate,
                                             None,      None,       Duplicate,  TakenOnDisk,
                                             Blank,     NotAllowed, TooLong};
    EXPECT_EQ(faultsOf(marks), expected);
    EXPECT_EQ(marks.count(), 9u);
    // A duplicate names the other row; the rest say what Rename's refusal says.
    EXPECT_EQ(marks.reasonsOf(list, 0).at(0).sameAs, 1u);
    EXPECT_EQ(marks.reasonsOf(list, 1).at(0).sameAs, 0u);
    EXPECT_EQ(marks.reasonsOf(list, 9).at(0).name, NameCheck::forbiddenCharacter('/'));
    EXPECT_TRUE(marks.reasonsOf(list, 4).empty());

    // Rename refuses the same rows for the same rules: the name an entry beside
    // the files holds is found only by the run itself, on disk.
    RenameList refused = edited(names, bases, NameLimit{24, NameUnit::Bytes});
    refused.CheckDuplicateNames();
    refused.CheckBlankNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(refused.row(i).faults(), expected[i] & ~TakenOnDisk) << i;
    // The statuses stay Rename's own.
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(list.row(i).status(), RowStatus::None) << i;

    // F8 and Shift+F8, round and round.
    std::vector<std::size_t> forward;
    std::optional<std::size_t> at;
    for (int i = 0; i < 10; ++i)
        forward.push_back(*(at = marks.next(at, false)));
    EXPECT_EQ(forward, (std::vector<std::size_t>{0, 1, 2, 3, 6, 7, 8, 9, 10, 0}));
    EXPECT_EQ(marks.next(std::nullopt, true), 10u);
    EXPECT_EQ(marks.next(0, true), 10u);
    EXPECT_EQ(marks.next(5, true), 3u);
    EXPECT_EQ(marks.next(5, false), 6u);
    RefusalMarks none;
    none.check(edited({"a.txt", "b.txt"}, {"b", "c"}), beside);
    EXPECT_EQ(none.count(), 0u);
    EXPECT_EQ(none.next(0, false), std::nullopt);
}

// Where the drive takes A and a for one name, so does the check.
TEST(RefusalMarks, NamesDifferingInCaseClashWhereTheDriveIgnoresCase) {
    const std::vector<std::string> names = {"A.txt", "b.txt", "c", "d.txt", "e.txt", "f.txt"};
    const std::vector<std::string> bases = {"A", "a", "photos", "X", "x", "F"};
    const RenameList list = edited(names, bases);
    RefusalMarks marks;
    using namespace RowFault;
    marks.check(list, {{"Photos"}, true});
    // Row 5 only changes the case of its own name.
    EXPECT_EQ(faultsOf(marks), (std::vector<RowFaults>{Duplicate, Duplicate, TakenOnDisk, Duplicate,
                                                       Duplicate, None}));
    marks.check(list, {{"Photos"}, false});
    EXPECT_EQ(marks.count(), 0u);
}
