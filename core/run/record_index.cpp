#include "run/record_index.h"

#include <algorithm>
#include <chrono>

namespace velmorandi {
namespace {

// A change made in the same tick as the listing leaves the stamp as it was;
// the margin also covers a file server's clock a little off from this one's.
constexpr std::int64_t kRecentNs = 2'000'000'000;

bool recent(const platform::FolderStamp& stamp) {
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    return stamp.entriesChanged > now - kRecentNs;
}

bool byName(const RecordEntry& a, const RecordEntry& b) {
    return a.name < b.name;
}

} // namespace

const RecordEntry* RecordIndex::kept(const std::string& name) const {
    RecordEntry probe;
    probe.name = name;
    const auto found = std::lower_bound(m_entries.begin(), m_entries.end(), probe, byName);
    return found != m_entries.end() && found->name == name ? &*found : nullptr;
}

std::vector<RecordEntry> RecordIndex::entries(const Source& source, Reading reading,
                                              std::optional<SystemError>* failed) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    platform::FolderStamp stamp;
    const bool stamped = !source.stamp(stamp);
    if (reading == Reading::Kept && stamped && m_stamp == stamp)
        return m_entries;
    m_stamp.reset();
    std::vector<std::string> names;
    if (auto error = source.names(names)) {
        m_entries.clear();
        if (failed)
            *failed = std::move(error);
        return {};
    }
    std::vector<RecordEntry> entries;
    bool whole = true;
    for (std::string& name : names) {
        std::optional<RecordEntry> entry = source.entry(std::move(name));
        if (!entry)
            continue;
        const RecordEntry* known = kept(entry->name);
        // A record summarized before, but never settled, may have been
        // completed since: only a look that acts reads it again.
        if (reading != Reading::Anew && known && known->sealed == entry->sealed &&
            (known->settled() || (reading == Reading::Kept && known->header)))
            entry = *known;
        else if (entry->sealed)
            whole = source.summarize(*entry) && whole;
        entries.push_back(std::move(*entry));
    }
    std::sort(entries.begin(), entries.end(), byName);
    m_entries = std::move(entries);
    if (stamped && whole && !recent(stamp))
        m_stamp = stamp;
    return m_entries;
}

void RecordIndex::forget(const std::string& name) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_stamp.reset();
    if (const RecordEntry* entry = kept(name))
        m_entries.erase(m_entries.begin() + (entry - m_entries.data()));
}

} // namespace velmorandi
