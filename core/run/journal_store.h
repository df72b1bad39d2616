#pragma once

#include "run/journal.h"
#include "platform/system_error.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// The journals in the user's state folder, one file per run, named so that
// they sort oldest first.
class JournalStore {
  public:
    std::optional<SystemError> open();
    const std::string& folder() const { return m_folder; }
    std::string pathOf(const std::string& name) const;

    // Written and flushed to the disk before it returns; `name` is the new file's.
    // Where `planReady` is set, it is called once the moves' names are on the
    // disk and waits for the rest of the journal to be made; false gives the
    // file up.
    std::optional<SystemError> create(const Journal& journal, std::string& name,
                                      const std::function<bool()>& planReady = {}) const;
    std::optional<SystemError> append(const std::string& name, std::string_view record) const;
    std::optional<Journal> read(const std::string& name) const;
    void remove(const std::string& name) const;

    struct Entry {
        std::string name;
        JournalHeader header;
        bool complete = false;
    };
    std::vector<Entry> list() const; // oldest first; unreadable files left out

    // The user's run that an undo in this folder would take back.
    std::optional<Entry> lastCompleteRun(const std::string& runFolder) const;
    // After `kept` completed: older runs of its folder go, and so do the runs
    // of all but the most recent folders.
    void prune(const std::string& kept) const;

  private:
    std::string m_folder;
};

constexpr std::size_t kUndoFolders = 100;

} // namespace velmorandi
