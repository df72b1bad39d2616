#pragma once

#include "platform/folder_access.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// The entries of a streaming read handed on a few dozen at a time, so that
// their look-ups can be made together (NameIndex::findAll).
class EntryBatch {
  public:
    static constexpr std::size_t kSize = 64;
    // The entries' names live only during the call.
    using Take = std::function<void(std::span<const platform::EntryView>)>;

    explicit EntryBatch(Take take) : m_take(std::move(take)) { m_text.reserve(kSize * 256); }

    void add(const platform::EntryView& entry) {
        m_starts.push_back(m_text.size());
        m_text.append(entry.name);
        m_entries.push_back(entry);
        if (m_entries.size() == kSize)
            handOn();
    }
    // The entries still held, once the read is over.
    void finish() {
        if (!m_entries.empty())
            handOn();
    }

  private:
    void handOn() {
        // The text may have moved while it grew: names are pointed at only now.
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            m_entries[i].name =
                std::string_view(m_text).substr(m_starts[i], m_entries[i].name.size());
        m_take(m_entries);
        m_entries.clear();
        m_starts.clear();
        m_text.clear();
    }

    Take m_take;
    std::string m_text;
    std::vector<std::size_t> m_starts;
    std::vector<platform::EntryView> m_entries;
};

// Each entry's name looked up in `index` (a NameIndex): places[i] for entries[i].
template <class Index>
void findEntries(const Index& index, std::span<const platform::EntryView> entries,
                 std::span<std::uint32_t> places) {
    std::string_view names[EntryBatch::kSize];
    for (std::size_t i = 0; i < entries.size(); ++i)
        names[i] = entries[i].name;
    index.findAll({names, entries.size()}, places.first(entries.size()));
}

} // namespace velmorandi
