#include "run/step_executor.h"

#include "platform/run_platform.h"
#include "run/name_tracker.h"

namespace velmorandi {

StepExecutor::StepExecutor(const platform::FolderHandle& folder,
                           const std::vector<PlannedMove>& moves, const RenameSeam& seam)
    : m_folder(folder), m_moves(moves), m_seam(seam) {}

std::optional<SystemError> StepExecutor::perform(const RunStep& step) const {
    // The system wants names that end in a zero byte; the buffers are reused.
    m_a.assign(nameOf(m_moves, step.a));
    m_b.assign(nameOf(m_moves, step.b));
    const std::string& a = m_a;
    const std::string& b = m_b;
    const platform::FolderHandle& folder = m_folder;
    if (step.op == RunStep::Op::Exchange) {
        const RenameFunction exchange = [&folder](const std::string& x, const std::string& y) {
            return platform::exchangeNames(folder, x, y);
        };
        return m_seam ? m_seam(a, b, exchange) : exchange(a, b);
    }
    if (!m_seam)
        return folder.renameNoReplace(a, b);
    const RenameFunction rename = [&folder](const std::string& x, const std::string& y) {
        return folder.renameNoReplace(x, y);
    };
    return m_seam(a, b, rename);
}

std::vector<std::string> StepExecutor::rollBack(const std::vector<RunStep>& steps,
                                                std::size_t done) const {
    std::vector<RunStep> undone;
    bool anyFailed = false;
    for (std::size_t i = done; i-- > 0;) {
        const RunStep inverse = inverseOf(steps[i]);
        if (perform(inverse))
            anyFailed = true;
        else
            undone.push_back(inverse);
    }
    if (!anyFailed)
        return {};
    // Replaying what did happen tells which file bears which name now.
    NameTracker tracker(m_moves);
    for (std::size_t i = 0; i < done; ++i)
        tracker.apply(steps[i]);
    for (const RunStep& step : undone)
        tracker.apply(step);
    std::vector<std::string> kept;
    const std::vector<std::string> current = tracker.currentNames();
    for (std::size_t i = 0; i < m_moves.size(); ++i)
        if (current[i] != m_moves[i].from)
            kept.push_back(std::string(m_moves[i].from) + " is now " + current[i]);
    return kept;
}

} // namespace velmorandi
