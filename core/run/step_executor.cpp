#include "run/step_executor.h"

#include "platform/folder_changes.h"

#include <chrono>
#include <iterator>
#include <thread>

namespace velmorandi {
namespace {

bool isPlaceholder(const platform::FolderHandle& folder, const Disk& disk, const std::string& name,
                   const std::string& content) {
    std::string bytes;
    return !content.empty() && !disk.readStart(folder, name, content.size() + 1, bytes) &&
           bytes == content;
}

// Both names are plain files of one size and time; where the drive counts a
// file's names both say two at least and bear one file number, elsewhere a
// mark turned over on the run's file shows through the other name. A copy
// made with its times kept has all the rest.
bool isSecondName(const platform::FolderHandle& folder, const Disk& disk, const std::string& name,
                  const std::string& other, bool linkCounts) {
    platform::EntryStatus first;
    platform::EntryStatus second;
    if (disk.status(folder, other, first) || disk.status(folder, name, second) || !first.regular ||
        !second.regular || first.size != second.size || first.modified != second.modified)
        return false;
    if (linkCounts)
        return first.links >= 2 && second.links >= 2 && first.identity == second.identity;
    bool same = false;
    return !disk.sameFileByMark(folder, other, name, same) && same;
}

} // namespace

bool provesLeftover(const platform::FolderHandle& folder, const Disk& disk,
                    const Leftover& leftover, const LeftoverProof& proof) {
    if (leftover.kind == Leftover::Kind::Placeholder)
        return isPlaceholder(folder, disk, leftover.name, proof.placeholder);
    return isSecondName(folder, disk, leftover.name, leftover.other, proof.linkCounts);
}

StepExecutor::StepExecutor(const platform::FolderHandle& folder,
                           const std::vector<PlannedMove>& moves, const Disk& disk,
                           RenameWay firstWay, LeftoverProof proof,
                           std::function<std::optional<SystemError>()> beforePlaceholders,
                           RunOwnership ownership)
    : m_folder(folder), m_moves(moves), m_disk(disk), m_way(firstWay), m_proof(std::move(proof)),
      m_beforePlaceholders(std::move(beforePlaceholders)), m_ownership(std::move(ownership)) {}

bool StepExecutor::waitWhileHeld(int tried) {
    static constexpr int kPauses[] = {25, 50, 100, 200, 400, 400, 400, 400}; // ms: 1,975 in all
    if (tried >= static_cast<int>(std::size(kPauses)))
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(kPauses[tried]));
    return true;
}

bool StepExecutor::mayChange() {
    if (m_ownership && m_standing == platform::LeaseStanding::Held)
        m_standing = m_ownership();
    return m_standing == platform::LeaseStanding::Held;
}

std::optional<SystemError> StepExecutor::perform(const RunStep& step) {
    m_a.assign(nameOf(m_moves, step.a));
    m_b.assign(nameOf(m_moves, step.b));
    if (step.op == RunStep::Op::Exchange)
        return change(DiskCall::Exchange, m_a, m_b,
                      [&] { return platform::exchangeNames(m_folder, m_a, m_b); });
    return rename(m_a, m_b);
}

std::optional<SystemError> StepExecutor::rename(const std::string& from, const std::string& to) {
    if (m_way == RenameWay::NoReplaceFlag) {
        auto error = change(DiskCall::Rename, from, to,
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
    auto error =
        change(DiskCall::Link, from, to, [&] { return platform::linkName(m_folder, from, to); });
    if (error && platform::meansLinksUnsupported(*error)) {
        m_way = RenameWay::Placeholder;
        return renameOntoPlaceholder(from, to);
    }
    if (error)
        return error;
    error =
        change(DiskCall::Unlink, from, {}, [&] { return platform::unlinkName(m_folder, from); });
    // A second name that cannot go now is found, and proven, by the rollback that follows.
    if (error && mayChange())
        static_cast<void>(
            removeLeftover(m_folder, m_disk, {Leftover::Kind::SecondName, to, from}, m_proof));
    return error;
}

// Making the name exclusively reserves it, so the rename replaces only the
// placeholder made here.
std::optional<SystemError> StepExecutor::renameOntoPlaceholder(const std::string& from,
                                                               const std::string& to) {
    if (m_beforePlaceholders) {
        if (auto error = m_beforePlaceholders())
            return error;
        m_beforePlaceholders = nullptr;
    }
    auto error = makePlaceholder(to);
    if (error)
        return error;
    error = change(DiskCall::RenameOntoPlaceholder, from, to,
                   [&] { return platform::renameReplacing(m_folder, from, to); });
    // A placeholder that cannot go now is found, and proven, by the rollback that follows.
    if (error && mayChange())
        static_cast<void>(
            removeLeftover(m_folder, m_disk, {Leftover::Kind::Placeholder, to, {}}, m_proof));
    return error;
}

// Two calls: a stop between them leaves an empty file, which proves nothing
// (recovery asks the user about it). One whose mark cannot be written goes
// again through the handle that made it.
std::optional<SystemError> StepExecutor::makePlaceholder(const std::string& name) {
    platform::PlaceholderFile file;
    auto error =
        change(DiskCall::CreatePlaceholder, name, {}, [&] { return file.create(m_folder, name); });
    if (error)
        return error;
    error = change(DiskCall::MarkPlaceholder, name, {},
                   [&] { return file.write(m_proof.placeholder); });
    if (error && mayChange())
        static_cast<void>(
            m_disk.call(DiskCall::RemoveLeftover, name, {}, [&] { return file.discard(); }));
    return error;
}

std::optional<LeftoverKept> removeLeftover(const platform::FolderHandle& folder, const Disk& disk,
                                           const Leftover& leftover, const LeftoverProof& proof) {
    if (!provesLeftover(folder, disk, leftover, proof))
        return LeftoverKept{true, {}};
    if (auto error = disk.call(DiskCall::RemoveLeftover, leftover.name, {},
                               [&] { return platform::unlinkName(folder, leftover.name); }))
        return LeftoverKept{false, std::move(*error)};
    return std::nullopt;
}

} // namespace velmorandi
