#include "edit_history.h"
#include "rename_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace velmorandi {
namespace {

// What a run or a load reads on another thread, with one edit to take back.
struct Owners {
    std::optional<RenameList> list;
    std::optional<EditHistory> history;
    Owners() {
        list.emplace();
        list->load({"a.txt", "b.txt"});
        history.emplace();
        EditedBases before = list->editedBases();
        list->setEditedName(0, "c.txt");
        history->recordIfChanged(*list, std::move(before), EditKind::ByHand);
    }
};

struct Change {
    const char* message; // what the program says as it ends
    std::function<void(Owners&)> make;
};

// Every way the window, a run's end or a load's end changes either of them.
std::vector<Change> everyChange() {
    const std::vector<std::string_view> views{"x", "y"};
    const std::uint32_t order[] = {1, 0};
    return {
        {"RenameList loaded", [](Owners& o) { o.list->load({"x"}); }},
        {"RenameList loaded", [views](Owners& o) { o.list->loadViews(views); }},
        {"RenameList rewritten",
         [](Owners& o) {
             o.list->rewriteEditedBases([](std::string_view b, std::size_t) { return b; });
         }},
        {"RenameList ComposeEditedNames", [](Owners& o) { o.list->ComposeEditedNames(); }},
        {"RenameList CheckDuplicateNames", [](Owners& o) { o.list->CheckDuplicateNames(); }},
        {"RenameList CheckBlankNames", [](Owners& o) { o.list->CheckBlankNames(); }},
        {"RenameList MarkAllDone", [](Owners& o) { o.list->MarkAllDone(); }},
        {"RenameList markDone", [](Owners& o) { o.list->markDone(0); }},
        {"RenameList markError", [](Owners& o) { o.list->markError(1); }},
        {"RenameList Blank", [](Owners& o) { o.list->Blank(); }},
        {"RenameList Reset", [](Owners& o) { o.list->Reset(); }},
        // Even one that its own check would refuse.
        {"RenameList setEditedName", [](Owners& o) { o.list->setEditedName(0, "no_extension"); }},
        {"RenameList adoptEditedNames", [order](Owners& o) { o.list->adoptEditedNames(order); }},
        {"RenameList restoreEditedBases",
         [](Owners& o) { o.list->restoreEditedBases(o.list->editedBases()); }},
        {"RenameList assigned to", [](Owners& o) { *o.list = RenameList(); }},
        {"RenameList moved from", [](Owners& o) { RenameList taken(std::move(*o.list)); }},
        {"RenameList destroyed", [](Owners& o) { o.list.reset(); }},
        {"EditHistory cleared", [](Owners& o) { o.history->clear(); }},
        {"EditHistory recordIfChanged",
         [](Owners& o) { o.history->recordIfChanged(*o.list, {}, EditKind::Blank); }},
        {"EditHistory undo", [](Owners& o) { o.history->undo(*o.list); }},
        {"EditHistory redo", [](Owners& o) { o.history->redo(*o.list); }},
        {"EditHistory assigned to", [](Owners& o) { *o.history = EditHistory(); }},
        {"EditHistory moved from", [](Owners& o) { EditHistory taken(std::move(*o.history)); }},
        {"EditHistory destroyed", [](Owners& o) { o.history.reset(); }},
    };
}

TEST(LendingDeathTest, EveryChangeWhileLentEndsTheProgramAndGoesThroughOnceGivenBack) {
    for (const Change& change : everyChange()) {
        SCOPED_TRACE(change.message);
        Owners owners;
        {
            // Copies are leases too: the one left keeps them lent.
            std::optional<LentList> list{LentList(*owners.list)};
            const LentList copy = *list;
            list.reset();
            const LentHistory history(*owners.history);
            EXPECT_DEATH(change.make(owners), std::string(change.message) + " while lent");
            // Read while lent: a copy is its own.
            RenameList copied = *copy;
            copied.Blank();
        }
        change.make(owners);
    }
}

TEST(Lending, ALeaseGivenBackOnAnotherThreadFreesTheOwner) {
    RenameList list;
    list.load({"a.txt"});
    LentList lease(list);
    std::thread reader([held = std::move(lease)] { EXPECT_EQ(held->size(), 1u); });
    reader.join();
    EXPECT_FALSE(list.lending().lent());
    EXPECT_FALSE(lease);
    list.Blank();
}

} // namespace
} // namespace velmorandi
