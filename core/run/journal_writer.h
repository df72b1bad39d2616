#pragma once

#include "platform/background_task.h"
#include "platform/record_files.h"
#include "run/disk.h"
#include "run/journal.h"
#include "run/journal_encoder.h"
#include "run/journal_store.h"
#include "run/one_time_answer.h"

#include <optional>
#include <string>

namespace velmorandi {

// A run's journal written while the run is still being checked and planned:
// the header and the moves' names at once, on the other core, the plan once
// finish() is called. The record stays unsealed until the plan is on the
// disk, so a crash before that leaves nothing that recovery acts on; a
// writer never finished removes it.
class JournalWriter {
  public:
    // `journal` outlives the writer; its header and moves' names are set and
    // stay as they are, while the rest may change until finish().
    JournalWriter(const JournalStore& store, const Disk& disk, const Journal& journal);
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // The journal is complete: writes the rest, waits for the disk and seals
    // the record. `file` holds it from then on, under `name`.
    [[nodiscard]] std::optional<SystemError> finish(platform::RecordFile& file, std::string& name);
    // What the record's marks are bound to, once finished.
    std::uint64_t headerSum() const { return m_encoder.headerSum(); }
    std::uint64_t planSum() const { return m_encoder.planSum(); }

  private:
    void write();
    [[nodiscard]] std::optional<SystemError> writePieces();

    const JournalStore& m_store;
    const Disk& m_disk;
    JournalEncoder m_encoder;
    platform::RecordFile m_file;
    std::string m_name;
    std::optional<SystemError> m_error;
    OneTimeAnswer m_planMade;
    platform::BackgroundTask m_task;
};

} // namespace velmorandi
