#pragma once

#include "platform/system_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The folder where the program keeps the records of its runs, and the record
// files in it. What is read from there decides what gets renamed, so nothing
// in it is believed unless only this user could have put it there.
namespace velmorandi::platform {

// Why the folder of records cannot be used.
struct RecordFolderProblem {
    enum class Kind {
        NoLocation,    // the environment does not say where it is
        Unreachable,   // it cannot be made or opened: `error` says why
        NotAFolder,    // something else bears its name
        Link,          // it, or a part of its path made by this program, is a link
        OtherOwner,    // another user owns it
        OthersMayWrite // other users may write to it
    };
    Kind kind = Kind::Unreachable;
    std::string folder; // where it is, or would be
    SystemError error;
};

// The folder for this user, from the environment: $XDG_STATE_HOME/velmorandi,
// else ~/.local/state/velmorandi; %LOCALAPPDATA%\Velmorandi on Windows.
std::variant<std::string, RecordFolderProblem> recordFolderLocation();

// The folder of records, opened once and checked: the parts of its path that
// are missing are made private to the user, and every later call is made
// relative to this one folder.
class RecordFolder {
  public:
    RecordFolder() = default;
    ~RecordFolder();
    RecordFolder(RecordFolder&& other) noexcept;
    RecordFolder& operator=(RecordFolder&& other) noexcept;
    RecordFolder(const RecordFolder&) = delete;
    RecordFolder& operator=(const RecordFolder&) = delete;

    std::optional<RecordFolderProblem> open(const std::string& path);
    bool isOpen() const;
    const std::string& path() const { return m_path; }
    std::string pathOf(const std::string& name) const;

    // The names of its entries, whatever they are.
    std::optional<SystemError> names(std::vector<std::string>& names) const;
    // Never replaces an entry.
    std::optional<SystemError> rename(const std::string& from, const std::string& to) const;
    // Makes its entries' names survive a crash.
    std::optional<SystemError> sync() const;
    std::intptr_t native() const { return m_native; }

  private:
    std::string m_path;
    std::intptr_t m_native = -1;
};

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
class RecordFile {
  public:
    enum class Opened {
        Yes,
        Held,    // another process holds its lock
        Gone,    // no such entry
        Refused, // not a plain file of this user's alone, or too large: `why` says which
        Failed   // `error` says why
    };

    RecordFile() = default;
    ~RecordFile();
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&& other) noexcept;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Makes the file, never replacing an entry, private to the user and locked.
    std::optional<SystemError> create(const RecordFolder& folder, const std::string& name);
    // Opens a record without following a link and without waiting on a
    // device or a pipe; with `lock`, only where no other process holds it.
    Opened open(const RecordFolder& folder, const std::string& name, bool lock, RecordRefusal& why,
                SystemError& error);
    bool isOpen() const;
    void close();

    std::uint64_t size() const;
    // `size` bytes from `offset`; fails where the file holds fewer.
    std::optional<SystemError> read(std::uint64_t offset, std::size_t size,
                                    std::string& bytes) const;
    std::optional<SystemError> append(std::string_view bytes);
    // Makes the bytes written so far survive a crash.
    std::optional<SystemError> sync() const;
    // Renames or removes this very file, whatever took its old name meanwhile.
    std::optional<SystemError> renameTo(const RecordFolder& folder, const std::string& from,
                                        const std::string& to);
    std::optional<SystemError> remove(const RecordFolder& folder, const std::string& name);

  private:
    std::intptr_t m_native = -1;
    std::uint64_t m_size = 0;
};

} // namespace velmorandi::platform
