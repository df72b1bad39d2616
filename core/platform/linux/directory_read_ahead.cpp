#include "platform/linux/directory_read_ahead.h"

#include <cerrno>
#include <cstring>

namespace velmorandi::platform {

DirectoryReadAhead::DirectoryReadAhead(DIR* stream) : m_stream(stream) {
    m_moreOnStream = fill(m_current, m_error);
    if (!m_moreOnStream)
        return;
    m_readerDone = false;
    m_readerStarted = m_reader.start([this] { readRest(); });
    // No thread to be had: next() reads on. Only then: a reader that has
    // already read to the end has said so, and must not be told otherwise.
    if (!m_readerStarted)
        m_readerDone = true;
}

DirectoryReadAhead::~DirectoryReadAhead() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_reader.join();
}

bool DirectoryReadAhead::next(Entry& entry) {
    while (m_offset >= m_current.size())
        if (!takeChunk())
            return false;
    const char* record = m_current.data() + m_offset;
    std::memcpy(&entry.identity, record, sizeof entry.identity);
    entry.type = static_cast<unsigned char>(record[sizeof entry.identity]);
    const char* name = record + sizeof entry.identity + 1;
    entry.name = std::string_view(name, std::strlen(name));
    m_offset += sizeof entry.identity + 1 + entry.name.size() + 1;
    return true;
}

bool DirectoryReadAhead::fill(Chunk& chunk, int& error) {
    chunk.clear();
    while (chunk.size() < kChunkBytes) {
        errno = 0;
        const dirent* entry = ::readdir(m_stream);
        if (!entry) {
            error = errno;
            return false;
        }
        const std::uint64_t identity = entry->d_ino;
        char head[sizeof identity + 1];
        std::memcpy(head, &identity, sizeof identity);
        head[sizeof identity] = static_cast<char>(entry->d_type);
        chunk.append(head, sizeof head);
        chunk.append(entry->d_name, std::strlen(entry->d_name) + 1);
    }
    return true;
}

void DirectoryReadAhead::readRest() {
    for (;;) {
        Chunk chunk;
        chunk.reserve(kChunkBytes + sizeof(dirent));
        int error = 0;
        const bool more = fill(chunk, error);
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_ready.size() < kChunksAhead || m_stop; });
            if (!m_stop)
                m_ready.push_back(std::move(chunk));
            if (m_stop || !more) {
                m_readerError = error;
                m_readerDone = true;
            }
        }
        m_changed.notify_all();
        if (!more || m_stop)
            return;
    }
}

bool DirectoryReadAhead::takeChunk() {
    m_offset = 0;
    m_current.clear();
    if (!m_readerStarted) {
        if (!m_moreOnStream)
            return false;
        m_moreOnStream = fill(m_current, m_error);
        return true;
    }
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_ready.empty() || m_readerDone; });
        if (m_ready.empty()) {
            m_error = m_readerError;
            return false;
        }
        m_current = std::move(m_ready.front());
        m_ready.pop_front();
    }
    m_changed.notify_all();
    return true;
}

} // namespace velmorandi::platform
