#include "run/journal_store.h"

#include "platform/folder_access.h"
#include "platform/path_text.h"
#include "platform/run_platform.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace velmorandi {
namespace {

constexpr std::string_view kSuffix = ".journal";
constexpr std::size_t kHeaderBytes = 1 << 16;

std::string newName() {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    char name[80];
    std::snprintf(name, sizeof name, "run-%020lld-%06u%s", static_cast<long long>(nanoseconds),
                  counter.fetch_add(1) % 1000000u, kSuffix.data());
    return name;
}

std::string readAll(const std::string& path) {
    std::ifstream in(platform::fileSystemPath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The first bytes and the last record of a journal, without reading the plan.
bool readEnds(const std::string& path, std::string& head, std::string& tail) {
    std::ifstream in(platform::fileSystemPath(path), std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    const auto size = static_cast<std::size_t>(in.tellg());
    head.resize(std::min(size, kHeaderBytes));
    in.seekg(0);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    tail.resize(std::min(size, kRecordSize));
    in.seekg(static_cast<std::streamoff>(size - tail.size()));
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    return static_cast<bool>(in);
}

} // namespace

std::optional<SystemError> JournalStore::open() {
    return platform::stateFolder(m_folder);
}

std::string JournalStore::pathOf(const std::string& name) const {
    return m_folder + platform::pathSeparator() + name;
}

std::optional<SystemError> JournalStore::create(const Journal& journal, std::string& name,
                                                const std::function<bool()>& planReady) const {
    name = newName();
    JournalEncoder encoder(journal);
    const auto pieces = [&encoder] { return encoder.next(); };
    // The names on the disk first, on their own: the sync that the first
    // rename waits for then has only the plan to write.
    if (auto error = platform::createDurably(m_folder, name, pieces))
        return error;
    std::optional<SystemError> error;
    if (planReady && !planReady()) {
        error = SystemError{0, "The run was not started."};
    } else {
        encoder.continueWithPlan();
        error = platform::appendDurably(pathOf(name), pieces);
    }
    if (error)
        remove(name);
    return error;
}

std::optional<SystemError> JournalStore::append(const std::string& name,
                                                std::string_view record) const {
    return platform::appendDurably(pathOf(name), record);
}

std::optional<Journal> JournalStore::read(const std::string& name) const {
    return decodeJournal(readAll(pathOf(name)));
}

void JournalStore::remove(const std::string& name) const {
    std::error_code ignored;
    std::filesystem::remove(platform::fileSystemPath(pathOf(name)), ignored);
}

std::vector<JournalStore::Entry> JournalStore::list() const {
    std::vector<Entry> entries;
    std::error_code error;
    for (const auto& file :
         std::filesystem::directory_iterator(platform::fileSystemPath(m_folder), error)) {
        const std::string name = platform::pathBytes(file.path().filename());
        if (!name.starts_with("run-") || !name.ends_with(kSuffix))
            continue;
        Entry entry{name, {}, false};
        std::string head;
        std::string tail;
        if (readEnds(pathOf(name), head, tail)) {
            if (auto header = decodeHeader(head)) {
                entry.header = std::move(*header);
                entry.complete = endsComplete(tail);
            }
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

std::optional<JournalStore::Entry>
JournalStore::lastCompleteRun(const std::string& runFolder) const {
    std::optional<Entry> last;
    for (Entry& entry : list()) {
        if (entry.header.folder != runFolder)
            continue;
        // An undo that completed takes its subject with it; until it is gone, nothing to undo.
        if (entry.complete && entry.header.kind == Journal::Kind::Rename)
            last = std::move(entry);
        else if (entry.complete)
            last.reset();
    }
    return last;
}

void JournalStore::prune(const std::string& kept) const {
    const std::vector<Entry> entries = list();
    const auto keptEntry = std::find_if(entries.begin(), entries.end(),
                                        [&](const Entry& e) { return e.name == kept; });
    if (keptEntry == entries.end())
        return;
    std::set<std::string> folders{keptEntry->header.folder};
    // Newest first, so the run kept for a folder is its latest.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (!entry->complete || entry->header.kind != Journal::Kind::Rename || entry->name == kept)
            continue;
        const std::string& runFolder = entry->header.folder;
        if (runFolder == keptEntry->header.folder || folders.contains(runFolder) ||
            folders.size() >= kUndoFolders)
            remove(entry->name);
        else
            folders.insert(runFolder);
    }
}

} // namespace velmorandi
