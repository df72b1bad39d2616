#include "run/journal_writer.h"

#include <system_error>

namespace velmorandi {

JournalWriter::JournalWriter(const JournalStore& store, const Journal& journal)
    : m_store(store), m_journal(journal) {
    try {
        m_thread = std::thread([this] { write(); });
    } catch (const std::system_error&) {
        // No thread to be had: finish() writes it all.
    }
}

JournalWriter::~JournalWriter() {
    release(false);
    if (m_thread.joinable())
        m_thread.join();
}

std::optional<SystemError> JournalWriter::finish(std::string& name) {
    release(true);
    if (m_thread.joinable())
        m_thread.join();
    else
        write();
    name = m_name;
    return m_error;
}

void JournalWriter::write() {
    m_error = m_store.create(m_journal, m_name, [this] { return awaitPlan(); });
}

bool JournalWriter::awaitPlan() {
    std::unique_lock lock(m_mutex);
    m_releasedSignal.wait(lock, [this] { return m_released; });
    return m_planMade;
}

void JournalWriter::release(bool planMade) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_released)
            return;
        m_released = true;
        m_planMade = planMade;
    }
    m_releasedSignal.notify_all();
}

} // namespace velmorandi
