#include "run/name_tracker.h"

namespace velmorandi {

NameTracker::NameTracker(const std::vector<PlannedMove>& moves) : m_moves(moves) {
    m_holders.reserve(moves.size());
    for (std::uint32_t i = 0; i < moves.size(); ++i)
        m_holders.emplace(moves[i].from, i);
}

void NameTracker::apply(const RunStep& step) {
    const std::string a(nameOf(m_moves, step.a));
    const std::string b(nameOf(m_moves, step.b));
    const auto first = m_holders.find(a);
    if (step.op == RunStep::Op::Exchange) {
        const auto second = m_holders.find(b);
        if (first != m_holders.end() && second != m_holders.end())
            std::swap(first->second, second->second);
        return;
    }
    if (first == m_holders.end())
        return;
    const std::uint32_t file = first->second;
    m_holders.erase(first);
    m_holders[b] = file;
}

std::optional<std::uint32_t> NameTracker::holder(const std::string& name) const {
    const auto found = m_holders.find(name);
    if (found == m_holders.end())
        return std::nullopt;
    return found->second;
}

std::vector<std::string> NameTracker::currentNames() const {
    std::vector<std::string> names(m_moves.size());
    for (const auto& [name, file] : m_holders)
        names[file] = name;
    return names;
}

} // namespace velmorandi
