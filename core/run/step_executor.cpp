#include "run/step_executor.h"

#include "platform/folder_changes.h"
#include "run/run_messages.h"

namespace velmorandi {

StepExecutor::StepExecutor(const platform::FolderHandle& folder,
                           const std::vector<PlannedMove>& moves, const Disk& disk,
                           RenameWay firstWay)
    : m_folder(folder), m_moves(moves), m_disk(disk), m_way(firstWay) {}

std::optional<SystemError> StepExecutor::perform(const RunStep& step) {
    m_a.assign(nameOf(m_moves, step.a));
    m_b.assign(nameOf(m_moves, step.b));
    if (step.op == RunStep::Op::Exchange)
        return m_disk.call(DiskCall::Exchange, m_a, m_b,
                           [&] { return platform::exchangeNames(m_folder, m_a, m_b); });
    return rename(m_a, m_b);
}

std::optional<SystemError> StepExecutor::rename(const std::string& from, const std::string& to) {
    if (m_way == RenameWay::NoReplaceFlag) {
        auto error = m_disk.call(DiskCall::Rename, from, to,
                                 [&] { return platform::renameNoReplace(m_folder, from, to); });
        if (!error || !platform::meansNoReplaceUnsupported(*error))
            return error;
        m_way = RenameWay::LinkThenUnlink;
    }
    if (m_way == RenameWay::LinkThenUnlink)
        return renameByLink(from, to);
    return renameOntoPlaceholder(from, to);
}

std::optional<SystemError> StepExecutor::renameByLink(const std::string& from,
                                                      const std::string& to) {
    auto error = m_disk.call(DiskCall::Link, from, to,
                             [&] { return platform::linkName(m_folder, from, to); });
    if (error && platform::meansLinksUnsupported(*error)) {
        m_way = RenameWay::Placeholder;
        return renameOntoPlaceholder(from, to);
    }
    if (error)
        return error;
    error = m_disk.call(DiskCall::Unlink, from, {},
                        [&] { return platform::unlinkName(m_folder, from); });
    if (error)
        removeLeftover(m_folder, m_disk, to);
    return error;
}

// Making the name exclusively reserves it, so the rename replaces only the
// placeholder made here.
std::optional<SystemError> StepExecutor::renameOntoPlaceholder(const std::string& from,
                                                               const std::string& to) {
    auto error = m_disk.call(DiskCall::CreatePlaceholder, to, {},
                             [&] { return platform::createPlaceholder(m_folder, to); });
    if (error)
        return error;
    error = m_disk.call(DiskCall::RenameOntoPlaceholder, from, to,
                        [&] { return platform::renameReplacing(m_folder, from, to); });
    if (error)
        removeLeftover(m_folder, m_disk, to);
    return error;
}

std::optional<SystemError> removeLeftover(const platform::FolderHandle& folder, const Disk& disk,
                                          const std::string& name) {
    platform::EntryStatus status;
    if (auto error = platform::entryStatus(folder, name, status))
        return error;
    if (!status.regular || (status.size != 0 && status.links < 2))
        return SystemError{0, messages::holdsData(name)};
    return disk.call(DiskCall::RemoveLeftover, name, {},
                     [&] { return platform::unlinkName(folder, name); });
}

} // namespace velmorandi
