#pragma once

#include "run/journal.h"
#include "run/journal_store.h"
#include "run/one_time_answer.h"
#include "platform/system_error.h"

#include <optional>
#include <string>
#include <thread>

namespace velmorandi {

// A run's journal written while the run is still being checked and planned:
// the moves' names at once, on a thread of its own, the rest once finish() is
// called. A file without its plan has no trailer, so a crash before finish()
// leaves nothing that recovery would act on; a writer never finished removes it.
class JournalWriter {
  public:
    // `journal` outlives the writer; its header and moves' names are set and
    // stay as they are, while the rest may change until finish().
    JournalWriter(const JournalStore& store, const Journal& journal);
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // The journal is complete: writes the rest and waits for the disk.
    std::optional<SystemError> finish(std::string& name);

  private:
    void write();

    const JournalStore& m_store;
    const Journal& m_journal;
    std::string m_name;
    std::optional<SystemError> m_error;
    std::thread m_thread;
    OneTimeAnswer m_planMade;
};

} // namespace velmorandi
