#pragma once

#include "rename_list.h"

#include <cstddef>
#include <deque>
#include <string>

namespace velmorandi {

// The edits made to the edited names since the last load, to be taken back
// and made again step by step. Each step keeps only the edited base names it
// replaced; the oldest steps give way when the kept names outgrow the budget.
class EditHistory {
  public:
    static constexpr std::size_t kDefaultBudget = std::size_t(64) << 20;
    static constexpr std::size_t kMostSteps = 100;

    explicit EditHistory(std::size_t budgetBytes = kDefaultBudget) : m_budget(budgetBytes) {}

    // Starts afresh: after a load, a completed run or an undo on disk.
    void clear();

    // An edit is about to change the list: what it is called ("Add String") and
    // the names before it. Kept only when the edit changed a name.
    void recordIfChanged(const RenameList& list, EditedBases before, std::string what);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    const std::string& nextUndo() const { return m_undo.back().what; }
    const std::string& nextRedo() const { return m_redo.back().what; }
    // Nothing happens when there is nothing to take back or make again.
    void undo(RenameList& list);
    void redo(RenameList& list);

    std::size_t bytes() const { return m_bytes; }

  private:
    struct Step {
        std::string what;
        EditedBases names; // before the edit on the undo side, after it on the redo side
    };
    static void swapWith(RenameList& list, std::deque<Step>& from, std::deque<Step>& to,
                         std::size_t& bytes);
    void keepWithinBudget();

    std::size_t m_budget;
    std::size_t m_bytes = 0;
    std::deque<Step> m_undo; // oldest first
    std::deque<Step> m_redo; // the next one to make again last
};

} // namespace velmorandi
