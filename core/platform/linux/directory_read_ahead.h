#pragma once

#include "platform/background_task.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <dirent.h>
#include <mutex>
#include <string>
#include <string_view>

namespace velmorandi::platform {

// A directory stream's entries, read a chunk ahead of the caller on a thread
// of their own once the folder outgrows one chunk: reading a large folder is
// mostly the system's work, so the caller's work on each entry can take the
// other core meanwhile. Small folders are read on the caller's thread.
class DirectoryReadAhead {
  public:
    struct Entry {
        std::string_view name; // valid until the next call of next()
        std::uint64_t identity = 0;
        unsigned char type = DT_UNKNOWN;
    };

    explicit DirectoryReadAhead(DIR* stream);
    ~DirectoryReadAhead();
    DirectoryReadAhead(const DirectoryReadAhead&) = delete;
    DirectoryReadAhead& operator=(const DirectoryReadAhead&) = delete;

    // False at the end of the folder, or where reading it failed: see error().
    bool next(Entry& entry);
    // The system's error code once next() has returned false; 0 at the end.
    int error() const { return m_error; }

  private:
    // Entries one after another as the system gives them (getdents64).
    using Chunk = std::string;
    // Large enough to be mapped on its own, so that a chunk's memory goes
    // back to the system once read rather than stay with the reader's heap.
    static constexpr std::size_t kChunkBytes = 256 * 1024;
    // Room for the reading to run well ahead of a caller that starts late
    // (8 MB, a quarter of a million names); a caller that keeps up holds a
    // chunk or two.
    static constexpr std::size_t kChunksAhead = 32;

    // Fills `chunk` from the stream; false once the stream has no more, with
    // `error` set where reading failed.
    bool fill(Chunk& chunk, int& error);
    void readRest();
    bool takeChunk();

    int m_stream; // the stream's descriptor: its records are read whole
    Chunk m_current;
    std::size_t m_offset = 0;
    int m_error = 0;
    bool m_moreOnStream = false;

    BackgroundTask m_reader;
    bool m_readerStarted = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Chunk> m_ready;
    bool m_readerDone = true; // no reader runs until the first chunk is full
    int m_readerError = 0;
    bool m_stop = false;
};

} // namespace velmorandi::platform
