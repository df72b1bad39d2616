#pragma once

#include "rename_list.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>

namespace velmorandi {

// What an edit was: an Apply of one of the five operations (in the order of
// their frames), Blank, Reset, or one name typed by hand.
enum class EditKind : std::uint8_t {
    FindAndReplace,
    ChangeCase,
    AddString,
    Serialize,
    Trim,
    Blank,
    Reset,
    ByHand
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

    // The same steps for another list: `carry` turns each step's names into
    // that list's.
    EditHistory carried(const std::function<EditedBases(const EditedBases&)>& carry) const;

  private:
    struct Step {
        EditKind what;
        EditedBases names; // before the edit on the undo side, after it on the redo side
    };
    static void swapWith(RenameList& list, std::deque<Step>& from, std::deque<Step>& to,
                         std::size_t& bytes);
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
