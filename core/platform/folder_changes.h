#pragma once

#include "platform/folder_access.h"
#include "platform/system_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The calls that change a folder's entries, each one request of the system,
// relative to an open folder so that no path is resolved again. A rename run
// makes its steps from these (run/step_executor.h), one at a time, so that a
// stop between any two leaves a state that recovery can read off the disk.
namespace velmorandi::platform {

// Renames, failing rather than replace an existing name. Where the file
// system cannot be asked for that, fails with an error that
// meansNoReplaceUnsupported() recognises, having changed nothing.
[[nodiscard]] std::optional<SystemError>
renameNoReplace(const FolderHandle& folder, const std::string& from, const std::string& to);
bool meansNoReplaceUnsupported(const SystemError& error);

// Gives the file a second name; fails if the name exists.
[[nodiscard]] std::optional<SystemError> linkName(const FolderHandle& folder,
                                                  const std::string& from, const std::string& to);
// The file system has no second names, or refuses them here.
bool meansLinksUnsupported(const SystemError& error);

// Removes one name of a file.
[[nodiscard]] std::optional<SystemError> unlinkName(const FolderHandle& folder,
                                                    const std::string& name);

// A placeholder made in two calls, so that a stop can fall between them:
// the file, made under the name exclusively and held open, then its content.
class PlaceholderFile {
  public:
    PlaceholderFile() = default;
    ~PlaceholderFile();
    PlaceholderFile(const PlaceholderFile&) = delete;
    PlaceholderFile& operator=(const PlaceholderFile&) = delete;

    // Fails if the name exists.
    [[nodiscard]] std::optional<SystemError> create(const FolderHandle& folder,
                                                    const std::string& name);
    [[nodiscard]] std::optional<SystemError> write(std::string_view content);
    // Removes the file made, through its own handle where the system has one,
    // else only where the name still leads to it; whatever took the name
    // meanwhile stays.
    [[nodiscard]] std::optional<SystemError> discard();

  private:
    const FolderHandle* m_folder = nullptr;
    std::string m_name;
    std::intptr_t m_handle = -1;
};

// A plain rename, replacing whatever bears `to`. Only ever aimed at a
// placeholder the caller made itself.
[[nodiscard]] std::optional<SystemError>
renameReplacing(const FolderHandle& folder, const std::string& from, const std::string& to);

// Swaps two names in one step; neither file is ever without a name.
[[nodiscard]] std::optional<SystemError> exchangeNames(const FolderHandle& folder,
                                                       const std::string& a, const std::string& b);

// One entry as the system describes it, links not followed.
struct EntryStatus {
    bool regular = false;       // a plain file
    std::uint64_t identity = 0; // its number within its file system
    std::uint64_t links = 0;    // how many names it has
    std::uint64_t size = 0;
    std::int64_t birth = 0;    // ns since 1970, 0 where not known
    std::int64_t modified = 0; // ns since 1970
};
// Fails (meansNoSuchFile) where the folder has no such entry.
[[nodiscard]] std::optional<SystemError> entryStatus(const FolderHandle& folder,
                                                     const std::string& name, EntryStatus& status);

// At most `limit` bytes from the start of a plain file, links not followed
// and without waiting on a pipe or a device.
[[nodiscard]] std::optional<SystemError> readStart(const FolderHandle& folder,
                                                   const std::string& name, std::size_t limit,
                                                   std::string& bytes);
// Whether `a` and `b` are two names of one plain file, on a drive that counts
// no names and shows no file numbers (sshfs): a mark nothing else uses (the
// sticky bit, which means nothing on a plain file) is turned over on `a`,
// read back through `b` from the drive itself, and turned back. A copy,
// however like the file in its bytes and times, does not show it. Fails
// where the drive does not let the mark be turned over, or back.
[[nodiscard]] std::optional<SystemError>
sameFileByMark(const FolderHandle& folder, const std::string& a, const std::string& b, bool& same);

} // namespace velmorandi::platform
