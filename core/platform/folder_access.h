#pragma once

#include "platform/system_error.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Everything that reads a folder, one implementation per operating system
// (linux/, windows/), chosen by CMake. What changes a folder is in
// folder_changes.h.
namespace velmorandi::platform {

// What the rows can be ordered by besides their names.
struct FileFacts {
    static constexpr std::int64_t kUnknown = INT64_MIN;
    // Nanoseconds since 1970; kUnknown where the file is gone or could not be read.
    std::int64_t modified = kUnknown;
    std::uint64_t size = 0;
    bool known() const { return modified != kUnknown; }
};

struct FolderEntry {
    std::string name;           // exact bytes as the system gives them
    bool hidden = false;        // what the platform's file lists leave out by default
    bool isFolder = false;      // a folder or a link to one; resolved for visible entries only
    std::uint64_t identity = 0; // the file's number within its file system, 0 where unknown
};

// One entry as a streaming read hands it over: the name lives only during the call.
struct EntryView {
    std::string_view name;
    bool hidden = false;
    bool isFolder = false;
    std::uint64_t identity = 0;
    FileFacts facts = {}; // where listingCarriesFacts()
};
using EntryVisitor = std::function<void(const EntryView&)>;

enum class EntryKinds { Unresolved, Resolved };

// One open folder. Every operation is made relative to the same handle, so a
// rename can never land in another folder that has since taken the path.
class FolderHandle {
  public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    [[nodiscard]] std::optional<SystemError> open(const std::string& path);

    // Every entry except "." and "..", hidden entries and folders included,
    // handed to `visit` one at a time and kept nowhere. On error the entries
    // already handed over were only part of the folder: drop what came of them.
    // `meanwhile`, where given, runs once the reading has begun and before the
    // first entry is handed over: work that `visit` needs, done while the
    // system reads ahead.
    [[nodiscard]] std::optional<SystemError>
    forEachEntry(const EntryVisitor& visit, EntryKinds kinds,
                 const std::function<void()>& meanwhile = {}) const;
    // The same entries in a list; empty on error.
    [[nodiscard]] std::optional<SystemError> readEntries(std::vector<FolderEntry>& entries,
                                                         EntryKinds kinds) const;

    // Makes the renames made so far survive a crash.
    [[nodiscard]] std::optional<SystemError> sync() const;

    const std::string& path() const { return m_path; }
    std::intptr_t native() const { return m_native; }

  private:
    std::string m_path;
    std::intptr_t m_native = -1;
};

[[nodiscard]] inline std::optional<SystemError>
FolderHandle::readEntries(std::vector<FolderEntry>& entries, EntryKinds kinds) const {
    entries.clear();
    std::optional<SystemError> error = forEachEntry(
        [&entries](const EntryView& entry) {
            entries.push_back(
                {std::string(entry.name), entry.hidden, entry.isFolder, entry.identity});
        },
        kinds);
    if (error)
        entries.clear();
    return error;
}

// True when a failed rename means that the target name already exists.
bool meansNameTaken(const SystemError& error);

// True when a failed call means that the name, or a folder on its path, does not exist.
bool meansNoSuchFile(const SystemError& error);
// What the system says of a name that does not exist.
SystemError noSuchFile();
// What the system says when it has no resources left for what was asked, such as a thread.
SystemError noResources();

bool isPathSeparator(char c);
char pathSeparator();

// Value of an environment variable, or nothing when it is not defined.
std::optional<std::string> environmentVariable(const char* name);

// Folders of the operating system itself, each ending in a separator, that
// the environment does not name (none on Windows). Each is the start of a path.
std::vector<std::string_view> systemFolders();

} // namespace velmorandi::platform
