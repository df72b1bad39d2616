#include "run/journal_store.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <set>

namespace velmorandi {
namespace {

constexpr std::string_view kSealed = ".journal";
constexpr std::string_view kUnsealed = ".unsealed";
constexpr std::string_view kSetAside = ".set-aside";

std::string newStem() {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    char stem[64];
    std::snprintf(stem, sizeof stem, "run-%020lld-%06u", static_cast<long long>(nanoseconds),
                  counter.fetch_add(1) % 1000000u);
    return stem;
}

std::string sealedName(std::string_view unsealed) {
    return std::string(unsealed.substr(0, unsealed.size() - kUnsealed.size())) +
           std::string(kSealed);
}

bool isUnsealedName(std::string_view name) {
    return name.ends_with(kUnsealed) && isRecordName(sealedName(name));
}

} // namespace

JournalStore::JournalStore()
    : m_problem(
          platform::RecordFolderProblem{platform::RecordFolderProblem::Kind::NoLocation, {}, {}}) {}

JournalStore JournalStore::ofUser() {
    auto location = platform::recordFolderLocation();
    if (auto* problem = std::get_if<platform::RecordFolderProblem>(&location)) {
        JournalStore store;
        store.m_path = problem->folder;
        store.m_problem = std::move(*problem);
        return store;
    }
    return at(std::get<std::string>(location));
}

JournalStore JournalStore::at(const std::string& path) {
    JournalStore store;
    store.m_path = path;
    store.m_problem = store.m_folder.open(path);
    return store;
}

std::string JournalStore::pathOf(const std::string& name) const {
    return m_folder.pathOf(name);
}

std::optional<SystemError> JournalStore::create(const Disk& disk, platform::RecordFile& file,
                                                std::string& name) const {
    std::optional<SystemError> error;
    // Two processes may ask in the same nanosecond: a name taken is tried again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = newStem() + std::string(kUnsealed);
        error = disk.call(DiskCall::CreateRecord, name, {},
                          [&] { return file.create(m_folder, name); });
        wrote(name);
        if (!error || !platform::meansNameTaken(*error))
            break;
    }
    return error;
}

std::optional<SystemError> JournalStore::append(const Disk& disk, platform::RecordFile& file,
                                                const std::string& name,
                                                std::string_view bytes) const {
    auto error = disk.call(DiskCall::AppendRecord, name, {}, [&] { return file.append(bytes); });
    wrote(name);
    return error;
}

std::optional<SystemError> JournalStore::cutTo(const Disk& disk, platform::RecordFile& file,
                                               const std::string& name, std::uint64_t size) const {
    if (file.size() == size)
        return std::nullopt;
    auto error = disk.call(DiskCall::CutRecord, name, {}, [&] { return file.cutTo(size); });
    wrote(name);
    return error;
}

std::optional<SystemError> JournalStore::sync(const Disk& disk, const platform::RecordFile& file,
                                              const std::string& name) const {
    return disk.call(DiskCall::SyncRecord, name, {}, [&] { return file.sync(); });
}

std::optional<SystemError> JournalStore::seal(const Disk& disk, platform::RecordFile& file,
                                              std::string& name) const {
    const std::string sealed = sealedName(name);
    auto error = disk.call(DiskCall::RenameRecord, name, sealed,
                           [&] { return file.renameTo(m_folder, name, sealed); });
    wrote(name);
    wrote(sealed);
    if (error)
        return error;
    name = sealed;
    return disk.call(DiskCall::SyncRecordFolder, name, {}, [&] { return m_folder.sync(); });
}

std::optional<SystemError> JournalStore::remove(const Disk& disk, platform::RecordFile& file,
                                                const std::string& name) const {
    auto error =
        disk.call(DiskCall::RemoveRecord, name, {}, [&] { return file.remove(m_folder, name); });
    wrote(name);
    return error;
}

std::optional<SystemError> JournalStore::setAside(const Disk& disk, platform::RecordFile& file,
                                                  const std::string& name,
                                                  std::string& keptAt) const {
    const std::string aside = name + std::string(kSetAside);
    keptAt = pathOf(aside);
    auto error = disk.call(DiskCall::RenameRecord, name, aside, [&] {
        return file.isOpen() ? file.renameTo(m_folder, name, aside) : m_folder.rename(name, aside);
    });
    wrote(name);
    return error;
}

platform::RecordFile::Opened JournalStore::open(const Disk& disk, platform::RecordFile& file,
                                                const std::string& name, bool lock,
                                                platform::RecordRefusal& why,
                                                SystemError& error) const {
    using Opened = platform::RecordFile::Opened;
    Opened opened = Opened::Failed;
    if (auto failed =
            disk.call(DiskCall::OpenRecord, name, {}, [&]() -> std::optional<SystemError> {
                opened = file.open(m_folder, name, lock, why, error);
                if (opened == Opened::Failed)
                    return error;
                return std::nullopt;
            })) {
        file.close();
        error = *failed;
        return Opened::Failed;
    }
    return opened;
}

JournalStore::Read JournalStore::hold(const Disk& disk, const std::string& name) const {
    Read held;
    if (m_problem) {
        held.error = m_problem->error;
        return held;
    }
    held.opened = open(disk, held.file, name, true, held.refusal, held.error);
    held.holder = held.file.holder();
    return held;
}

JournalStore::Read JournalStore::read(const Disk& disk, const std::string& name, bool lock) const {
    Read read;
    if (m_problem) {
        read.error = m_problem->error;
        return read;
    }
    read.opened = open(disk, read.file, name, lock, read.refusal, read.error);
    read.holder = read.file.holder();
    if (read.opened != platform::RecordFile::Opened::Yes)
        return read;
    std::string bytes;
    if (auto error = disk.call(DiskCall::ReadRecord, name, {}, [&] {
            return read.file.read(0, static_cast<std::size_t>(read.file.size()), bytes);
        })) {
        read.opened = platform::RecordFile::Opened::Failed;
        read.error = *error;
        return read;
    }
    read.decoded = decodeJournal(std::move(bytes));
    return read;
}

// A sealed record's header and complete mark, read from its ends: most
// headers fit in the first few kilobytes, a path of thousands of bytes needs more.
bool JournalStore::summarize(const Disk& disk, Entry& entry) const {
    platform::RecordFile file;
    platform::RecordRefusal refusal = platform::RecordRefusal::None;
    SystemError error;
    if (open(disk, file, entry.name, false, refusal, error) != platform::RecordFile::Opened::Yes)
        return false;
    const auto readAt = [&](std::uint64_t offset, std::uint64_t size, std::string& bytes) {
        return disk.call(DiskCall::ReadRecord, entry.name, {},
                         [&] { return file.read(offset, static_cast<std::size_t>(size), bytes); });
    };
    const std::uint64_t size = file.size();
    const std::uint64_t tailSize = std::min<std::uint64_t>(size, kSummaryTail);
    std::string head;
    std::string tail;
    // A record that cannot be read has no summary: recovery reads it whole and says why.
    if (readAt(size - tailSize, tailSize, tail))
        return false;
    JournalSummary summary;
    for (const std::size_t headSize : {std::size_t{4096}, kSummaryHead}) {
        if (readAt(0, std::min<std::uint64_t>(size, headSize), head))
            return false;
        summary = summarizeJournal(head, tail, size);
        if (summary.header || size <= headSize)
            break;
    }
    entry.header = std::move(summary.header);
    entry.complete = summary.complete;
    return true;
}

std::vector<JournalStore::Entry>
JournalStore::list(const Disk& disk, std::optional<SystemError>* failed, Reading reading) const {
    if (m_problem)
        return {};
    const RecordIndex::Source source{[&](platform::FolderStamp& stamp) {
                                         return disk.call(DiskCall::RecordFolderStatus, {}, {},
                                                          [&] { return m_folder.stamp(stamp); });
                                     },
                                     [&](std::vector<std::string>& names) {
                                         return disk.call(DiskCall::ListRecords, {}, {},
                                                          [&] { return m_folder.names(names); });
                                     },
                                     [](std::string name) -> std::optional<Entry> {
                                         Entry entry;
                                         entry.sealed = isRecordName(name);
                                         if (!entry.sealed && !isUnsealedName(name))
                                             return std::nullopt;
                                         entry.name = std::move(name);
                                         return entry;
                                     },
                                     [&](Entry& entry) { return summarize(disk, entry); }};
    // The names begin with the time: in name order, oldest first.
    return m_index->entries(source, reading, failed);
}

std::optional<JournalStore::Entry>
JournalStore::lastComplete(const Disk& disk, const std::string& runFolder, Reading reading) const {
    std::optional<Entry> last;
    for (Entry& entry : list(disk, nullptr, reading)) {
        if (!entry.header || entry.header->folder != runFolder || entry.complete != Mark::Present ||
            entry.header->kind == Journal::Kind::Rollback)
            continue;
        last = std::move(entry);
    }
    return last;
}

void JournalStore::prune(const Disk& disk, const std::string& kept) const {
    // Records go on what they say now, not on what was kept of them.
    const std::vector<Entry> entries = list(disk, nullptr, Reading::Anew);
    const auto keptEntry = std::find_if(entries.begin(), entries.end(),
                                        [&](const Entry& e) { return e.name == kept; });
    if (keptEntry == entries.end() || !keptEntry->header)
        return;
    std::set<std::string> folders{keptEntry->header->folder};
    // Newest first, so the run kept for a folder is its latest.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (!entry->header || entry->complete != Mark::Present || entry->name == kept)
            continue;
        const std::string& runFolder = entry->header->folder;
        const bool done = entry->header->kind == Journal::Kind::Rollback;
        if (!done && !folders.contains(runFolder) && folders.size() < kUndoFolders) {
            folders.insert(runFolder);
            continue;
        }
        // One that cannot go now goes after a later run.
        Read held = hold(disk, entry->name);
        if (held.opened == platform::RecordFile::Opened::Yes)
            static_cast<void>(remove(disk, held.file, entry->name));
    }
}

} // namespace velmorandi
