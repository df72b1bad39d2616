#pragma once

#include "platform/file_holders.h"
#include "platform/folder_access.h"
#include "platform/folder_changes.h"
#include "platform/system_error.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmorandi {

// Every call a run or its recovery makes on the disk: the records in the
// state folder and the entries of the renamed folder, changed or read. A
// crash can fall between any two, and any one can fail.
enum class DiskCall : std::uint8_t {
    CreateRecord,
    AppendRecord,
    SyncRecord,
    RenameRecord,
    SyncRecordFolder,
    RemoveRecord,
    CutRecord,
    Rename,
    Exchange,
    Link,
    Unlink,
    CreatePlaceholder, // an empty file, made exclusively
    MarkPlaceholder,   // the run's mark written into it
    RenameOntoPlaceholder,
    RemoveLeftover,
    MarkEntry, // a mark turned over on a file of the run's and back, to prove a second name
    SyncFolder,
    // The reads.
    ListRecords,
    OpenRecord,
    ReadRecord,
    OpenFolder,
    ListFolder,
    EntryStatus, // of an entry, or of the folder itself
    ReadEntry,   // an entry's bytes
    AskHolders,  // which programs hold a file, asked of the system once a step fails for it
    // A network drive's folder opened and listed again between steps: only a
    // hint to its client, whose failure the run bears.
    RefreshListing,
    RecordFolderStatus // whether the folder of records changed since it was last read
};

// Stands in for one call; `perform` makes it. `a` and `b` name the entries it
// concerns (the record's name for the record calls), where there are any.
using DiskSeam = std::function<std::optional<SystemError>(
    DiskCall call, std::string_view a, std::string_view b,
    const std::function<std::optional<SystemError>()>& perform)>;

// The one way a run reaches the disk, so that a test can fail, or stop for
// good, any single call. Without a seam a call costs nothing more.
class Disk {
  public:
    explicit Disk(const DiskSeam* seam = nullptr)
        : m_seam(seam != nullptr && *seam ? seam : nullptr) {}

    template <class Perform>
    [[nodiscard]] std::optional<SystemError> call(DiskCall what, std::string_view a,
                                                  std::string_view b, Perform&& perform) const {
        if (m_seam == nullptr)
            return perform();
        return (*m_seam)(
            what, a, b,
            std::function<std::optional<SystemError>()>(std::forward<Perform>(perform)));
    }

    // The reads of a folder, made through the seam.
    [[nodiscard]] std::optional<SystemError> open(platform::FolderHandle& folder,
                                                  const std::string& path) const {
        return call(DiskCall::OpenFolder, path, {}, [&] { return folder.open(path); });
    }
    [[nodiscard]] std::optional<SystemError>
    forEachEntry(const platform::FolderHandle& folder, const platform::EntryVisitor& visit,
                 platform::EntryKinds kinds, const std::function<void()>& meanwhile = {}) const {
        return call(DiskCall::ListFolder, {}, {},
                    [&] { return folder.forEachEntry(visit, kinds, meanwhile); });
    }
    // Opened, then every entry, resolved, to `visit`: a listing as the window shows it.
    [[nodiscard]] std::optional<SystemError> list(platform::FolderHandle& folder,
                                                  const std::string& path,
                                                  const platform::EntryVisitor& visit) const {
        if (auto error = open(folder, path))
            return error;
        return forEachEntry(folder, visit, platform::EntryKinds::Resolved);
    }
    [[nodiscard]] std::optional<SystemError>
    readEntries(const platform::FolderHandle& folder,
                std::vector<platform::FolderEntry>& entries) const {
        auto error = call(DiskCall::ListFolder, {}, {}, [&] {
            return folder.readEntries(entries, platform::EntryKinds::Unresolved);
        });
        if (error)
            entries.clear();
        return error;
    }
    [[nodiscard]] std::optional<SystemError> status(const platform::FolderHandle& folder,
                                                    const std::string& name,
                                                    platform::EntryStatus& status) const {
        return call(DiskCall::EntryStatus, name, {},
                    [&] { return platform::entryStatus(folder, name, status); });
    }
    [[nodiscard]] std::optional<SystemError> readStart(const platform::FolderHandle& folder,
                                                       const std::string& name, std::size_t limit,
                                                       std::string& bytes) const {
        return call(DiskCall::ReadEntry, name, {},
                    [&] { return platform::readStart(folder, name, limit, bytes); });
    }
    [[nodiscard]] std::optional<SystemError> sameFileByMark(const platform::FolderHandle& folder,
                                                            const std::string& a,
                                                            const std::string& b,
                                                            bool& same) const {
        return call(DiskCall::MarkEntry, a, b,
                    [&] { return platform::sameFileByMark(folder, a, b, same); });
    }

    // Where the seam answers for the system, no program is named.
    [[nodiscard]] std::vector<std::string> holders(const platform::FolderHandle& folder,
                                                   const std::string& name) const {
        std::vector<std::string> programs;
        static_cast<void>(call(DiskCall::AskHolders, name, {}, [&]() -> std::optional<SystemError> {
            programs = platform::programsHolding(folder, name);
            return std::nullopt;
        }));
        return programs;
    }

  private:
    const DiskSeam* m_seam;
};

} // namespace velmorandi
