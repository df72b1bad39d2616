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
    m_planMade.give(false);
    if (m_thread.joinable())
        m_thread.join();
}

std::optional<SystemError> JournalWriter::finish(std::string& name) {
    m_planMade.give(true);
    if (m_thread.joinable())
        m_thread.join();
    else
        write();
    name = m_name;
    return m_error;
}

void JournalWriter::write() {
    m_error = m_store.create(m_journal, m_name, [this] { return m_planMade.await(); });
}

} // namespace velmorandi
