#include "platform/linux/directory_read_ahead.h"

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace velmorandi::platform {

DirectoryReadAhead::DirectoryReadAhead(DIR* stream) : m_stream(::dirfd(stream)) {
    m_moreOnStream = fill(m_current, m_error);
    if (!m_moreOnStream)
        return;
    m_readerDone = false;
    m_readerStarted = m_reader.start([this] { readRest(); });
    // No thread to be had: next() reads on. Once started, only the reader
    // says when it is done: it may be done already.
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

// The records as the system writes them, laid out as struct dirent64: the
// file number, the next record's place, this record's length, the type, and
// the name ending in a zero byte, then padding.
bool DirectoryReadAhead::next(Entry& entry) {
    constexpr std::size_t kName = offsetof(dirent64, d_name);
    while (m_offset >= m_current.size())
        if (!takeChunk())
            return false;
    const char* record = m_current.data() + m_offset;
    decltype(dirent64::d_reclen) length = 0;
    std::memcpy(&length, record + offsetof(dirent64, d_reclen), sizeof length);
    if (length <= kName || length > m_current.size() - m_offset) {
        m_error = EIO; // not a record the system writes: nothing after it can be trusted
        m_current.clear();
        m_offset = 0;
        m_moreOnStream = false;
        return false;
    }
    std::memcpy(&entry.identity, record + offsetof(dirent64, d_ino), sizeof entry.identity);
    entry.type = static_cast<unsigned char>(record[offsetof(dirent64, d_type)]);
    entry.name = std::string_view(record + kName, ::strnlen(record + kName, length - kName));
    m_offset += length;
    return true;
}

// The system writes its records straight into the chunk: nothing is copied on
// the way. One call mostly fills it.
bool DirectoryReadAhead::fill(Chunk& chunk, int& error) {
    // The longest record: its fixed part, a name of 255 bytes and its zero, aligned.
    constexpr std::size_t kLongestRecord = 280;
    chunk.resize(kChunkBytes);
    std::size_t used = 0;
    while (chunk.size() - used >= kLongestRecord) {
        const ssize_t got = ::getdents64(m_stream, chunk.data() + used, chunk.size() - used);
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            chunk.resize(used);
            return false;
        }
        used += static_cast<std::size_t>(got);
    }
    chunk.resize(used);
    return true;
}

void DirectoryReadAhead::readRest() {
    for (;;) {
        Chunk chunk;
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
