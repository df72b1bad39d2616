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
        m_bytes -= bytesOf(step);
    m_redo.clear();
    m_bytes += before.bytes();
    m_undo.push_back({what, std::move(before)});
    keepWithinBudget();
}

// The newest step always stays, however large: the last edit can always be taken back.
void EditHistory::keepWithinBudget() {
    while (m_undo.size() > 1 && (m_bytes > m_budget || m_undo.size() > kMostSteps)) {
        m_bytes -= bytesOf(m_undo.front());
        m_undo.pop_front();
    }
}

void EditHistory::swapWith(RenameList& list, std::deque<Step>& from, std::deque<Step>& to,
                           std::size_t& bytes) {
    if (from.empty())
        return;
    Step step = std::move(from.back());
    from.pop_back();
    bytes -= bytesOf(step);
    if (step.what == EditKind::Order) {
        to.push_back(swapOrder(list, std::move(step)));
    } else {
        EditedBases now = list.editedBases();
        list.restoreEditedBases(step.names);
        to.push_back({step.what, std::move(now)});
    }
    bytes += bytesOf(to.back());
}

void EditHistory::undo(RenameList& list) {
    m_lending.refuseWhileLent("undo");
    swapWith(list, m_undo, m_redo, m_bytes);
}

void EditHistory::redo(RenameList& list) {
    m_lending.refuseWhileLent("redo");
    swapWith(list, m_redo, m_undo, m_bytes);
}

std::size_t EditHistory::bytesOf(const Step& step) {
    return step.names.bytes() + step.rows.capacity() * sizeof(step.rows[0]);
}

namespace {

// inverse[rows[p]] = p.
std::vector<std::uint32_t> inverse(std::span<const std::uint32_t> rows) {
    std::vector<std::uint32_t> inverted(rows.size());
    for (std::uint32_t p = 0; p < rows.size(); ++p)
        inverted[rows[p]] = p;
    return inverted;
}

} // namespace

void EditHistory::recordOrder(RowOrder before, std::span<const std::uint32_t> rows) {
    m_lending.refuseWhileLent("recordOrder");
    for (const Step& step : m_redo)
        m_bytes -= bytesOf(step);
    m_redo.clear();
    m_undo.push_back({EditKind::Order, {}, before, inverse(rows)});
    m_bytes += bytesOf(m_undo.back());
    keepWithinBudget();
}

// The rows go back (or forth); the step that follows puts them as they are now.
EditHistory::Step EditHistory::swapOrder(RenameList& list, Step step) {
    const RowOrder now = list.order();
    list.reorder(step.rows, step.order);
    return {EditKind::Order, {}, now, inverse(step.rows)};
}

// From the step nearest to now outward: past an order, each row of the other
// list stood where that order had taken it from.
void EditHistory::carrySide(const std::deque<Step>& from, std::deque<Step>& to,
                            std::vector<std::uint32_t> at, const Carry& carry) {
    for (auto step = from.rbegin(); step != from.rend(); ++step) {
        if (step->what != EditKind::Order) {
            to.push_front({step->what, carry(step->names, at)});
            continue;
        }
        const std::vector<std::uint32_t> stood = inverse(step->rows);
        for (std::uint32_t& place : at)
            if (place < stood.size())
                place = stood[place];
    }
}

EditHistory EditHistory::carried(std::vector<std::uint32_t> places, const Carry& carry) const {
    EditHistory history(m_budget);
    carrySide(m_undo, history.m_undo, places, carry);
    carrySide(m_redo, history.m_redo, std::move(places), carry);
    for (const auto* side : {&history.m_undo, &history.m_redo})
        for (const Step& step : *side)
            history.m_bytes += bytesOf(step);
    history.keepWithinBudget();
    return history;
}

} // namespace velmorandi
