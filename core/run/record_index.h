#pragma once

#include "platform/record_folder.h"
#include "platform/system_error.h"
#include "run/journal.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// One record, as the folder of records showed it.
struct RecordEntry {
    std::string name;
    bool sealed = false;
    std::optional<JournalHeader> header; // sealed, where it checks
    Mark complete = Mark::Absent;
    // A complete record is never written again, only removed or set aside:
    // what was read of it stays true for as long as its name is listed.
    bool settled() const { return sealed && header && complete == Mark::Present; }
};

// What was last read of the folder of records, so that asking again costs a
// look at the folder's stamp rather than an open of every record. The
// records are read anew where the stamp changed, could not be read, or was
// too recent to tell a later change within the same tick of the clock apart,
// and where this process wrote there. What is kept only offers: whoever acts
// on a record reads it whole first.
class RecordIndex {
  public:
    enum class Reading {
        Kept,   // what was kept, while the stamp says the folder is as it was
        Listed, // the names listed anew, and every record not settled read anew
        Anew    // every record read anew: a record may have been damaged where it lies
    };
    // How the folder is read; `summarize` is false where the record's bytes
    // could not be read, so that it is tried again next time.
    struct Source {
        std::function<std::optional<SystemError>(platform::FolderStamp&)> stamp;
        std::function<std::optional<SystemError>(std::vector<std::string>&)> names;
        std::function<std::optional<RecordEntry>(std::string name)> entry; // nothing: no record
        std::function<bool(RecordEntry&)> summarize;
    };
    // Oldest first; none where the folder cannot be listed.
    std::vector<RecordEntry> entries(const Source& source, Reading reading,
                                     std::optional<SystemError>* failed);
    // This process wrote the record `name`, or renamed it from there: the
    // next look lists the folder again and reads that record anew.
    void forget(const std::string& name);

  private:
    const RecordEntry* kept(const std::string& name) const;

    std::mutex m_mutex;
    std::vector<RecordEntry> m_entries; // in name order
    std::optional<platform::FolderStamp> m_stamp;
};

} // namespace velmorandi
