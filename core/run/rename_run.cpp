#include "run/rename_run.h"

#include "folder_listing.h"
#include "name_index.h"
#include "platform/natural_order.h"
#include "platform/folder_access.h"
#include "protected_files.h"
#include "rename_list.h"
#include "run/entry_batch.h"
#include "run/one_time_answer.h"
#include "run/run_engine.h"
#include "run/run_messages.h"

#include <optional>
#include <system_error>
#include <thread>

namespace velmorandi {
namespace {

std::vector<std::string> missingNames(const std::vector<std::string>& listed,
                                      const std::vector<std::string>& expected) {
    NameIndex present(listed.size(), [&](std::uint32_t i) { return std::string_view(listed[i]); });
    present.assignAll(listed.size());
    std::vector<std::string> missing;
    for (const std::string& name : expected)
        if (present.find(name) == present.kNone)
            missing.push_back(name);
    return missing;
}

// A row's new name, for an index over the rows.
struct NewNameOf {
    const RenameList* rows;
    std::string_view operator()(std::uint32_t row) const { return rows->row(row).editedName(); }
};
using NewNameIndex = NameIndex<NewNameOf>;

// True when the folder's files are the rows' new names, no more, no fewer.
// A read that fails proves nothing either; the read after it reports the error.
bool holdsExactly(const std::string& folder, const NewNameIndex& newNames, std::size_t count) {
    platform::FolderHandle handle;
    if (handle.open(folder))
        return false;
    std::size_t files = 0;
    bool stranger = false;
    std::uint32_t rows[EntryBatch::kSize];
    EntryBatch batch([&](std::span<const platform::EntryView> entries) {
        findEntries(newNames, entries, rows);
        for (std::size_t i = 0; i < entries.size(); ++i)
            stranger = stranger || rows[i] == NewNameIndex::kNone;
    });
    const auto seeEntry = [&](const platform::EntryView& entry) {
        if (entry.isFolder || !isShown(entry.name, entry.hidden))
            return;
        ++files;
        batch.add(entry);
    };
    if (handle.forEachEntry(seeEntry, platform::EntryKinds::Resolved))
        return false;
    batch.finish();
    return !stranger && files == count;
}

// The rows' new names in order and indexed, and the protected-file guard's
// verdict on them, made on the other core while this one writes the journal
// and renames, on that core alone, so as not to slow the renames; once every
// step is done, the same core reads the folder back while this one syncs it.
// No one changes the rows during a run (the window holds its input back), so
// reading them from there is safe. Order and index stay alive beside the run's
// own memory, hence an index of 8 bytes a slot.
class NewNames {
  public:
    NewNames(const RenameList& rows, const std::string& folder) : m_rows(rows), m_folder(folder) {}
    ~NewNames() {
        m_runCompleted.give(false);
        if (m_worker.joinable())
            m_worker.join();
    }
    NewNames(const NewNames&) = delete;
    NewNames& operator=(const NewNames&) = delete;

    void start() {
        try {
            m_worker = std::thread([this] {
                make();
                if (m_runCompleted.await())
                    readBack();
            });
        } catch (const std::system_error&) {
            // No thread to be had: folderHoldsThem() does the work here.
        }
    }
    void runCompleted() { m_runCompleted.give(true); }
    // Whether the folder's files are the new names, no more, no fewer; call
    // once the run has completed.
    bool folderHoldsThem() {
        m_runCompleted.give(true);
        if (m_worker.joinable()) {
            m_worker.join();
        } else {
            if (!m_index)
                make();
            readBack();
        }
        return m_folderHoldsThem;
    }
    std::vector<std::uint32_t> takeOrder() { return std::move(m_order); }
    bool protectedFileListed() const { return m_protectedFileListed; }

  private:
    void make() {
        {
            std::vector<std::string_view> names;
            names.reserve(m_rows.size());
            for (const RenameRow row : m_rows.rows())
                names.push_back(row.editedName());
            m_order = naturalOrder(names, Cores::One);
        }
        m_index.emplace(m_rows.size(), NewNameOf{&m_rows});
        std::vector<std::uint32_t> firsts(m_rows.size());
        m_index->insertAll(firsts);
        m_protectedFileListed = !CheckProtectedFiles(m_folder, m_rows);
    }
    void readBack() { m_folderHoldsThem = holdsExactly(m_folder, *m_index, m_rows.size()); }

    const RenameList& m_rows;
    const std::string& m_folder;
    bool m_protectedFileListed = false;
    bool m_folderHoldsThem = false;
    std::thread m_worker;
    OneTimeAnswer m_runCompleted; // false where the run stopped short
    std::vector<std::uint32_t> m_order;
    std::optional<NewNameIndex> m_index;
};

// Another process changed the folder during the run: only a second read, listed
// as a load would list it, shows what it did; FinishRun names the missing files.
void readAgain(const RunRequest& request, RunResult& result) {
    FolderContents contents = ReadFolder(request.folder);
    if (contents.error) {
        result.reloaded.error = std::move(contents.error);
        return;
    }
    for (const RenameRow row : request.rows->rows())
        if (row.editedName() != row.listedName())
            result.expectedNames.emplace_back(row.editedName());
    result.reloaded.names = std::move(contents.files);
}

void loadReloaded(RenameList& list, const std::string& folder, FolderListing& listing,
                  CommitOutcome& outcome) {
    list.load(std::move(listing.names), list.nameLimit()); // the same folder, the same limit
    outcome.listReloaded = true;
    outcome.protectedFileListed = !CheckProtectedFiles(folder, list);
}

CommitOutcome::Kind outcomeKind(RunResult::Kind kind) {
    switch (kind) {
    case RunResult::Kind::NameTaken:
        return CommitOutcome::Kind::NameTaken;
    case RunResult::Kind::Cancelled:
        return CommitOutcome::Kind::Cancelled;
    case RunResult::Kind::Completed:
        return CommitOutcome::Kind::Completed;
    case RunResult::Kind::Failed:
        break;
    }
    return CommitOutcome::Kind::Failed;
}

} // namespace

std::variant<CommitOutcome, RunRequest> PrepareRename(RenameList& list, const std::string& folder) {
    const bool noDuplicates = list.CheckDuplicateNames();
    const bool noBlanks = list.CheckBlankNames();
    if (!noDuplicates || !noBlanks)
        return CommitOutcome{CommitOutcome::Kind::Refused, kRenameRefusedMessage, false, false};
    RunRequest request{folder, {}};
    const auto changed = [](const RenameRow row) { return row.editedName() != row.listedName(); };
    std::size_t count = 0;
    for (const RenameRow row : list.rows())
        count += changed(row) ? 1 : 0;
    request.moves.reserve(count);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const RenameRow row = list.row(i);
        if (changed(row))
            request.moves.push_back({row.listedName(), row.editedName(), {}, 0, i});
    }
    request.rows = &list;
    // Even with nothing to move the folder is read again, off the window's thread.
    return request;
}

RunResult ExecuteRun(RunRequest request, const RunControl& control) {
    EngineRun run{request.folder,
                  std::move(request.moves),
                  Journal::Kind::Rename,
                  {},
                  request.rows != nullptr};
    // Joined on every way out, whatever the run's outcome: it reads the rows,
    // which are the caller's again once this returns.
    std::optional<NewNames> newNames;
    if (request.rows) {
        newNames.emplace(*request.rows, request.folder);
        run.planMade = [&newNames] { newNames->start(); };
        run.afterLastStep = [&newNames] { newNames->runCompleted(); };
    }
    RunResult result = runMoves(std::move(run), control);
    if (!request.rows || result.kind != RunResult::Kind::Completed)
        return result;
    // The one read after a completed run. Where the folder holds exactly the
    // rows' new names, the order made beside the run is the one a fresh
    // listing would give, and nothing more is read.
    if (newNames->folderHoldsThem()) {
        result.order = newNames->takeOrder();
        result.protectedFileListed = newNames->protectedFileListed();
        return result;
    }
    newNames.reset();
    readAgain(request, result);
    return result;
}

CommitOutcome FinishRun(RenameList& list, const std::string& folder, RunResult result) {
    CommitOutcome outcome{outcomeKind(result.kind), std::move(result.message), false, false};
    if (result.kind != RunResult::Kind::Completed) {
        for (const std::size_t row : result.errorRows)
            if (row < list.size())
                list.markError(row);
        if (!result.reloaded.error)
            loadReloaded(list, folder, result.reloaded, outcome);
        return outcome;
    }
    if (result.order) {
        list.adoptEditedNames(*result.order);
        outcome.listReloaded = true;
        outcome.protectedFileListed = result.protectedFileListed;
        return outcome;
    }
    if (result.reloaded.error) {
        // Rows of names that are gone must not be renamed again.
        list.load({});
        outcome.listReloaded = true;
        outcome.message = messages::reloadFailed(*result.reloaded.error);
        return outcome;
    }
    const std::vector<std::string> missing =
        missingNames(result.reloaded.names, result.expectedNames);
    loadReloaded(list, folder, result.reloaded, outcome);
    list.ComposeEditedNames();
    list.MarkAllDone();
    if (!missing.empty())
        outcome.message = messages::missingAfterRun(missing);
    return outcome;
}

} // namespace velmorandi
