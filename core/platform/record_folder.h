#pragma once

#include "platform/system_error.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The folder where the program keeps the records of its runs. What is read
// from there decides what gets renamed, so nothing in it is believed unless
// only this user could have put it there.
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
    // OtherOwner: who owns it, and whether that or this program's user is
    // the system's administrator (root), as after a start with sudo -E.
    std::string owner{};
    bool ownerIsAdministrator = false;
    bool runningAsAdministrator = false;
    // NoLocation without `error`: the environment variables that would name
    // it, none set; none listed where no folder was given at all.
    std::vector<std::string> unsetVariables{};
};

// The folder for this user, from the environment: $XDG_STATE_HOME/velmorandi,
// else ~/.local/state/velmorandi; %LOCALAPPDATA%\Velmorandi on Windows.
std::variant<std::string, RecordFolderProblem> recordFolderLocation();

// What shows whether a folder's entries changed: its identity and the times
// its entries and the folder itself last changed, nanoseconds since 1970 by
// the clock of the machine that holds it.
struct FolderStamp {
    std::uint64_t identity = 0;
    std::int64_t entriesChanged = 0;
    std::int64_t statusChanged = 0; // 0 where the system keeps no such time
    bool operator==(const FolderStamp&) const = default;
};

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

    [[nodiscard]] std::optional<RecordFolderProblem> open(const std::string& path);
    bool isOpen() const;
    const std::string& path() const { return m_path; }
    std::string pathOf(const std::string& name) const;
    // On a network drive a lock binds only the processes of one machine, and
    // there only through one mount: its records are leased as well (record_lease.h).
    bool leased() const { return m_leased; }
    // The same folder, opened once more: for what outlives this object.
    [[nodiscard]] std::optional<SystemError> duplicate(RecordFolder& copy) const;

    [[nodiscard]] std::optional<SystemError> stamp(FolderStamp& stamp) const;
    // The names of its entries, whatever they are.
    [[nodiscard]] std::optional<SystemError> names(std::vector<std::string>& names) const;
    // Never replaces an entry.
    [[nodiscard]] std::optional<SystemError> rename(const std::string& from,
                                                    const std::string& to) const;
    // Makes its entries' names survive a crash.
    [[nodiscard]] std::optional<SystemError> sync() const;
    std::intptr_t native() const { return m_native; }

    // Small files of the program's own beside the records (the leases), each
    // written whole: a plain file's bytes, at most `limit`; a new file, never
    // replacing an entry; a file written whole under another name, then put
    // in the place of whatever bears `name`; a name removed.
    [[nodiscard]] std::optional<SystemError> readSmall(const std::string& name, std::size_t limit,
                                                       std::string& bytes) const;
    [[nodiscard]] std::optional<SystemError> writeNew(const std::string& name,
                                                      std::string_view bytes) const;
    [[nodiscard]] std::optional<SystemError> replace(const std::string& name,
                                                     std::string_view bytes) const;
    [[nodiscard]] std::optional<SystemError> removeName(const std::string& name) const;

  private:
    std::string m_path;
    std::intptr_t m_native = -1;
    bool m_leased = false;
};

} // namespace velmorandi::platform
