#pragma once

#include "platform/record_files.h"
#include "run/disk.h"
#include "run/journal.h"
#include "run/journal_decoder.h"
#include "run/record_index.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// The records of runs in the user's folder of records, one file per run,
// named so that they sort oldest first. A record is written as
// "run-….unsealed", and sealed (renamed "run-….journal") once its plan is on
// the disk, before the first step: an unsealed record proves that no step
// of its run was made. Whatever cannot be used is set aside ("….set-aside"),
// never deleted.
class JournalStore {
  public:
    // The user's own folder of records, from the environment: the one place
    // that reads it.
    static JournalStore ofUser();
    // A folder of records at `path`, checked as the user's would be.
    static JournalStore at(const std::string& path);
    // No folder: every run is refused.
    JournalStore();

    // Why no run may use the folder; nothing when it can be trusted.
    const std::optional<platform::RecordFolderProblem>& problem() const { return m_problem; }
    const std::string& folderPath() const { return m_path; }
    std::string pathOf(const std::string& name) const;

    // A new record, made and locked by this process: `name` is its unsealed name.
    [[nodiscard]] std::optional<SystemError> create(const Disk& disk, platform::RecordFile& file,
                                                    std::string& name) const;
    [[nodiscard]] std::optional<SystemError> append(const Disk& disk, platform::RecordFile& file,
                                                    const std::string& name,
                                                    std::string_view bytes) const;
    // Drops a torn last record: every byte from `size` on.
    [[nodiscard]] std::optional<SystemError> cutTo(const Disk& disk, platform::RecordFile& file,
                                                   const std::string& name,
                                                   std::uint64_t size) const;
    [[nodiscard]] std::optional<SystemError>
    sync(const Disk& disk, const platform::RecordFile& file, const std::string& name) const;
    // Gives the record its sealed name, and makes that survive a crash.
    [[nodiscard]] std::optional<SystemError> seal(const Disk& disk, platform::RecordFile& file,
                                                  std::string& name) const;
    [[nodiscard]] std::optional<SystemError> remove(const Disk& disk, platform::RecordFile& file,
                                                    const std::string& name) const;
    // Renamed out of the way, with `keptAt` its new path; `file` may be closed.
    [[nodiscard]] std::optional<SystemError> setAside(const Disk& disk, platform::RecordFile& file,
                                                      const std::string& name,
                                                      std::string& keptAt) const;

    using Entry = RecordEntry;
    // Kept: as last read, while the folder shows no change; Listed or Anew:
    // read again, for a look that acts on what it finds (record_index.h).
    using Reading = RecordIndex::Reading;
    // Every record, sealed or not, oldest first; other entries left out.
    // None where the folder cannot be read: `failed`, where given, says why.
    std::vector<Entry> list(const Disk& disk, std::optional<SystemError>* failed = nullptr,
                            Reading reading = Reading::Kept) const;

    // A record opened and read whole. With `lock`, only where no other
    // process holds it; `file` then holds it until it is closed.
    struct Read {
        platform::RecordFile::Opened opened = platform::RecordFile::Opened::Failed;
        platform::RecordRefusal refusal = platform::RecordRefusal::None;
        SystemError error;
        // Held through its lease: who holds it.
        std::optional<platform::RecordHolder> holder;
        platform::RecordFile file;
        DecodedJournal decoded;
    };
    [[nodiscard]] Read read(const Disk& disk, const std::string& name, bool lock) const;
    // The same, locked but not read: for a record that is only to go.
    [[nodiscard]] Read hold(const Disk& disk, const std::string& name) const;

    // The newest completed rename or undo of the folder: what Undo or Redo takes back.
    std::optional<Entry> lastComplete(const Disk& disk, const std::string& runFolder,
                                      Reading reading = Reading::Kept) const;
    // After `kept` completed: the folder's older completed runs go, and so do
    // the runs of all but the most recent folders. Records in use by another
    // process stay.
    void prune(const Disk& disk, const std::string& kept) const;

  private:
    // False where the record's bytes could not be read.
    bool summarize(const Disk& disk, Entry& entry) const;
    // After this process wrote to the record `name`, or renamed it.
    void wrote(const std::string& name) const { m_index->forget(name); }
    [[nodiscard]] platform::RecordFile::Opened open(const Disk& disk, platform::RecordFile& file,
                                                    const std::string& name, bool lock,
                                                    platform::RecordRefusal& why,
                                                    SystemError& error) const;

    std::optional<platform::RecordFolderProblem> m_problem;
    std::string m_path;
    platform::RecordFolder m_folder;
    std::unique_ptr<RecordIndex> m_index = std::make_unique<RecordIndex>();
};

constexpr std::size_t kUndoFolders = 100;

} // namespace velmorandi
