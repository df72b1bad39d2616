#include "run/journal_writer.h"

namespace velmorandi {

JournalWriter::JournalWriter(const JournalStore& store, const Disk& disk, const Journal& journal)
    : m_store(store), m_disk(disk), m_encoder(journal) {
    m_task.start([this] { write(); });
}

JournalWriter::~JournalWriter() {
    m_planMade.give(false);
    m_task.join();
    // An unsealed record left behind proves no step was made; the next start removes it.
    if (m_file.isOpen())
        static_cast<void>(m_store.remove(m_disk, m_file, m_name));
}

std::optional<SystemError> JournalWriter::finish(platform::RecordFile& file, std::string& name) {
    m_planMade.give(true);
    m_task.wait();
    if (!m_error)
        m_error = m_store.seal(m_disk, m_file, m_name);
    if (m_error)
        return m_error;
    file = std::move(m_file);
    name = m_name;
    return std::nullopt;
}

std::optional<SystemError> JournalWriter::writePieces() {
    for (std::string_view piece = m_encoder.next(); !piece.empty(); piece = m_encoder.next())
        if (auto error = m_store.append(m_disk, m_file, m_name, piece))
            return error;
    return m_store.sync(m_disk, m_file, m_name);
}

// The names on the disk first, on their own: the sync that the first step
// waits for then has only the plan to write.
void JournalWriter::write() {
    m_error = m_store.create(m_disk, m_file, m_name);
    if (!m_error)
        m_error = writePieces();
    if (m_error || !m_planMade.await())
        return;
    m_encoder.continueWithPlan();
    m_error = writePieces();
}

} // namespace velmorandi
