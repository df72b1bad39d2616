#include "edit_history.h"

namespace velmorandi {

EditHistory::~EditHistory() {
    m_lending.refuseWhileLent("destroyed");
}

void EditHistory::clear() {
    m_lending.refuseWhileLent("cleared");
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
}

void EditHistory::recordIfChanged(const RenameList& list, EditedBases before, EditKind what) {
    m_lending.refuseWhileLent("recordIfChanged");
    if (list.hasEditedBases(before))
        return;
    for (const Step& step : m_redo)
        m_bytes -= step.names.bytes();
    m_redo.clear();
    m_bytes += before.bytes();
    m_undo.push_back({what, std::move(before)});
    keepWithinBudget();
}

// The newest step always stays, however large: the last edit can always be taken back.
void EditHistory::keepWithinBudget() {
    while (m_undo.size() > 1 && (m_bytes > m_budget || m_undo.size() > kMostSteps)) {
        m_bytes -= m_undo.front().names.bytes();
        m_undo.pop_front();
    }
}

void EditHistory::swapWith(RenameList& list, std::deque<Step>& from, std::deque<Step>& to,
                           std::size_t& bytes) {
    if (from.empty())
        return;
    Step step = std::move(from.back());
    from.pop_back();
    EditedBases now = list.editedBases();
    list.restoreEditedBases(step.names);
    bytes += now.bytes();
    bytes -= step.names.bytes();
    to.push_back({step.what, std::move(now)});
}

void EditHistory::undo(RenameList& list) {
    m_lending.refuseWhileLent("undo");
    swapWith(list, m_undo, m_redo, m_bytes);
}

void EditHistory::redo(RenameList& list) {
    m_lending.refuseWhileLent("redo");
    swapWith(list, m_redo, m_undo, m_bytes);
}

EditHistory
EditHistory::carried(const std::function<EditedBases(const EditedBases&)>& carry) const {
    EditHistory history(m_budget);
    for (const auto& [from, to] :
         {std::pair{&m_undo, &history.m_undo}, std::pair{&m_redo, &history.m_redo}})
        for (const Step& step : *from) {
            to->push_back({step.what, carry(step.names)});
            history.m_bytes += to->back().names.bytes();
        }
    history.keepWithinBudget();
    return history;
}

} // namespace velmorandi
