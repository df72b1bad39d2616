#include "edit_history.h"
#include "list_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmorandi;
using velmorandi::testing::editedNames;

namespace {

void appendToEveryBase(RenameList& list, const std::string& text) {
    list.rewriteEditedBases(
        [&](std::string_view base, std::size_t) { return std::string(base) + text; });
}

} // namespace

// Steps back and forth give every name back exactly, extensions and final dots
// included; the oldest steps give way to the budget, never the newest.
TEST(EditHistory, PutsBackExactNamesAndKeepsTheNewestStepsWithinItsBudget) {
    RenameList list;
    list.load({"alpha.txt", "README", "archive.tar.gz", "ends in a dot.", ".profile"});
    appendToEveryBase(list, "-");
    const std::size_t stepBytes = list.editedBases().bytes();
    list.restoreEditedBases(EditedBases());
    ASSERT_EQ(editedNames(list)[0], "alpha.txt");

    EditHistory history(stepBytes * 3);
    std::vector<std::vector<std::string>> states = {editedNames(list)};
    for (int step = 0; step < 8; ++step) {
        EditedBases before = list.editedBases();
        appendToEveryBase(list, std::to_string(step));
        history.recordIfChanged(list, std::move(before), EditKind::AddString);
        states.push_back(editedNames(list));
        // An edit that changes no name is no step.
        history.recordIfChanged(list, list.editedBases(), EditKind::Trim);
    }
    EXPECT_EQ(states.back()[3], "ends in a dot01234567.");
    EXPECT_EQ(states.back()[4], "01234567.profile");

    std::size_t undone = 0;
    while (history.canUndo()) {
        EXPECT_EQ(history.nextUndo(), EditKind::AddString);
        history.undo(list);
        ++undone;
        EXPECT_EQ(editedNames(list), states[states.size() - 1 - undone]) << undone;
    }
    EXPECT_GE(undone, 2u);
    EXPECT_LT(undone, 8u);
    while (history.canRedo())
        history.redo(list);
    EXPECT_EQ(editedNames(list), states.back());

    // One step larger than the whole budget still stays.
    EditHistory tight(1);
    EditedBases before = list.editedBases();
    list.Blank();
    tight.recordIfChanged(list, std::move(before), EditKind::Blank);
    ASSERT_TRUE(tight.canUndo());
    tight.undo(list);
    EXPECT_EQ(editedNames(list), states.back());
}
