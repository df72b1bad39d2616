#pragma once

#include "platform/record_folder.h"
#include "platform/record_lease.h"
#include "platform/system_error.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The record files in the folder of records (record_folder.h). What is read
// from them decides what gets renamed, so nothing in them is believed unless
// only this user could have put it there.
namespace velmorandi::platform {

// The largest record read: a run of ten million files writes less.
constexpr std::uint64_t kRecordSizeLimit = std::uint64_t{1} << 30;

// Why a record is not believed, whatever it says.
enum class RecordRefusal {
    None,
    Link,           // a symbolic link, or on Windows a reparse point
    NotPlain,       // a folder, a pipe, a device
    OtherOwner,     // another user's
    OthersMayWrite, // other users may write to it
    TooLarge,       // larger than any record this program writes
    Replaced        // another file took its name while it was being opened
};

// One record file, held open. A lock held is this process's until close():
// no other process can take it meanwhile, and it ends with the process.
// Where the folder is leased, the lock comes with the record's lease.
class RecordFile {
  public:
    enum class Opened {
        Yes,
        Held,    // another process holds its lock
        Gone,    // no such entry
        Refused, // not a plain file of this user's alone, or too large: `why` says which
        Failed   // `error` says why
    };

    RecordFile();
    ~RecordFile();
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&& other) noexcept;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Makes the file, never replacing an entry, private to the user and locked.
    [[nodiscard]] std::optional<SystemError> create(const RecordFolder& folder,
                                                    const std::string& name);
    // Opens a record without following a link and without waiting on a
    // device or a pipe; with `lock`, only where no other process holds it.
    [[nodiscard]] Opened open(const RecordFolder& folder, const std::string& name, bool lock,
                              RecordRefusal& why, SystemError& error);
    bool isOpen() const;
    void close();
    // Held through a lease: who holds it.
    const std::optional<RecordHolder>& holder() const { return m_holder; }
    // Whether this process may still change what the record is about: a
    // lock lasts as long as the process, a lease only while it is renewed.
    LeaseStanding standing();

    std::uint64_t size() const;
    // `size` bytes from `offset`; fails where the file holds fewer.
    [[nodiscard]] std::optional<SystemError> read(std::uint64_t offset, std::size_t size,
                                                  std::string& bytes) const;
    [[nodiscard]] std::optional<SystemError> append(std::string_view bytes);
    // Drops every byte from `size` on.
    [[nodiscard]] std::optional<SystemError> cutTo(std::uint64_t size);
    // Makes the bytes written so far survive a crash.
    [[nodiscard]] std::optional<SystemError> sync() const;
    // Renames or removes this very file, whatever took its old name meanwhile.
    [[nodiscard]] std::optional<SystemError>
    renameTo(const RecordFolder& folder, const std::string& from, const std::string& to);
    [[nodiscard]] std::optional<SystemError> remove(const RecordFolder& folder,
                                                    const std::string& name);

  private:
    // Where the folder is leased: false, with `m_holder` set or `error`,
    // where the lease is another process's or cannot be had.
    bool takeLease(const RecordFolder& folder, const std::string& name, SystemError& error);

    std::intptr_t m_native = -1;
    std::uint64_t m_size = 0;
    std::unique_ptr<Lease> m_lease;
    std::optional<RecordHolder> m_holder;
};

} // namespace velmorandi::platform
