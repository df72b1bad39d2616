#pragma once

#include "rename_list.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <vector>

namespace velmorandi {

// What an edit was: an Apply of one of the five operations (in the order of
// their frames), Blank, Reset, one name typed by hand, rows left out of the
// rename or put back, or the rows put in another order.
enum class EditKind : std::uint8_t {
    FindAndReplace,
    ChangeCase,
    AddString,
    Serialize,
    Trim,
    Blank,
    Reset,
    ByHand,
    LeaveOut,
    PutBack,
    Order
};

// The edits made to the edited names since the last load, to be taken back
// and made again step by step. Each step keeps only the edited base names it
// replaced; the oldest steps give way when the kept names outgrow the budget.
// A load carries the steps onto a list read anew through a lease
// (LentHistory): while one is out, every change ends the program.
class EditHistory {
  public:
    static constexpr std::size_t kDefaultBudget = std::size_t(64) << 20;
    static constexpr std::size_t kMostSteps = 100;

    explicit EditHistory(std::size_t budgetBytes = kDefaultBudget) : m_budget(budgetBytes) {}
    EditHistory(const EditHistory&) = default;
    EditHistory(EditHistory&&) noexcept = default;
    EditHistory& operator=(const EditHistory&) = default;
    EditHistory& operator=(EditHistory&&) noexcept = default;
    ~EditHistory();
    const Lending& lending() const { return m_lending; }

    // Starts afresh: after a load, a completed run or an undo on disk.
    void clear();

    // An edit has changed the list: what it was and the names before it. Kept
    // only when the edit changed a name.
    void recordIfChanged(const RenameList& list, EditedBases before, EditKind what);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    EditKind nextUndo() const { return m_undo.back().what; }
    EditKind nextRedo() const { return m_redo.back().what; }
    // Nothing happens when there is nothing to take back or make again.
    void undo(RenameList& list);
    void redo(RenameList& list);

    std::size_t bytes() const { return m_bytes; }

    // The rows were put in order by RenameList::reorder(rows, ...); `before`
    // is the order they left.
    void recordOrder(RowOrder before, std::span<const std::uint32_t> rows);

    // The same steps for another read of the folder, whose rows stand at
    // `places` in the list now (RenameList::placesIn): `carry(names, at)`
    // turns names kept for rows that stood `at` into that list's. The rows
    // come back in name order: the orders stay behind, and each step's names
    // go to the rows they were kept for.
    using Carry = std::function<EditedBases(const EditedBases&, std::span<const std::uint32_t> at)>;
    EditHistory carried(std::vector<std::uint32_t> places, const Carry& carry) const;

  private:
    struct Step {
        EditKind what;
        EditedBases names; // before the edit on the undo side, after it on the redo side
        // Order only: what puts the rows as they were before it (undo side) or
        // after it (redo side), as reorder takes them.
        RowOrder order = {};
        std::vector<std::uint32_t> rows = {};
    };
    static std::size_t bytesOf(const Step& step);
    static void swapWith(RenameList& list, std::deque<Step>& from, std::deque<Step>& to,
                         std::size_t& bytes);
    static Step swapOrder(RenameList& list, Step step);
    static void carrySide(const std::deque<Step>& from, std::deque<Step>& to,
                          std::vector<std::uint32_t> at, const Carry& carry);
    void keepWithinBudget();

    Lending m_lending{"EditHistory"}; // first: moved and assigned before any step
    std::size_t m_budget;
    std::size_t m_bytes = 0;
    std::deque<Step> m_undo; // oldest first
    std::deque<Step> m_redo; // the next one to make again last
};

// The steps for another thread to read; the history cannot change until it ends.
using LentHistory = Lease<EditHistory>;

} // namespace velmorandi
