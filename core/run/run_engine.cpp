#include "run/run_engine.h"

#include "folder_listing.h"
#include "program_folder.h"
#include "run/journal_encoder.h"
#include "run/journal_store.h"
#include "run/journal_writer.h"
#include "run/locate.h"
#include "run/preflight.h"
#include "run/read_back.h"
#include "run/run_testing.h"
#include "temporary_names.h"

#include <chrono>

namespace velmorandi {

std::optional<SystemError> openFolder(const std::string& path, const RunContext& context,
                                      OpenedFolder& folder) {
    if (auto error = context.disk.open(folder.handle, path))
        return error;
    if (auto error = context.disk.call(DiskCall::EntryStatus, ".", {}, [&] {
            return platform::folderIdentity(folder.handle, folder.identity);
        }))
        return error;
    folder.volume = platform::volumeOf(folder.handle);
    folder.traits = platform::describeFileSystem(folder.handle);
    if (const RunTesting* testing = context.testing) {
        folder.traits.ignoresCase = folder.traits.ignoresCase || testing->ignoreCase;
        folder.traits.remote = folder.traits.remote || testing->remote;
        folder.traits.stableIdentities = folder.traits.stableIdentities && !testing->noIdentities;
    }
    return std::nullopt;
}

// A device number may change when a drive comes back, so only the volume counts.
FolderMatch matchFolder(const JournalHeader& journaled, const std::string& path,
                        const OpenedFolder& folder) {
    const platform::FileIdentity& then = journaled.folderIdentity;
    const platform::FileIdentity& now = folder.identity;
    const bool volumesKnown = !journaled.volume.empty() && !folder.volume.empty();
    if (volumesKnown && journaled.volume != folder.volume)
        return FolderMatch::Other;
    const bool birthsKnown = then.birth != 0 && now.birth != 0;
    if (birthsKnown && then.birth != now.birth)
        return FolderMatch::Other;
    if (journaled.traits.stableIdentities)
        return then.inode == now.inode ? FolderMatch::Own : FolderMatch::Other;
    if (birthsKnown || path == journaled.folder)
        return FolderMatch::Own;
    return volumesKnown ? FolderMatch::SameVolume : FolderMatch::Other;
}

FolderListing listFolder(const std::string& folder, const Disk& disk) {
    return ListFolderFiles(folder, [&disk](platform::FolderHandle& handle, const std::string& path,
                                           const platform::EntryVisitor& visit) {
        return disk.list(handle, path, visit);
    });
}

RunFailure handedOverFailure(platform::LeaseStanding standing, const JournalStore& records) {
    RunFailure failure;
    failure.kind = standing == platform::LeaseStanding::Lost
                       ? RunFailure::Kind::TakenOver
                       : RunFailure::Kind::OwnershipUnconfirmed;
    failure.folder = records.folderPath();
    return failure;
}

namespace {
const JournalStore kNoRecords;
} // namespace

RunContext::RunContext(const RunControl& control)
    : records(control.records ? control.records : &kNoRecords),
      disk(control.testing ? &control.testing->seam : nullptr), observer(control.observer),
      cancel(control.cancel), testing(control.testing) {}

namespace {

RunNews newsOf(RunNews::Kind kind, RunFailure failure = {}) {
    RunNews news;
    news.kind = kind;
    news.failure = std::move(failure);
    return news;
}

EngineOutcome refused(RunOutcome outcome, RunFailure failure, RunNews news,
                      std::vector<std::size_t> rows = {}) {
    EngineOutcome refused;
    refused.result.outcome = outcome;
    refused.result.news = std::move(news);
    refused.result.errorRows = std::move(rows);
    refused.failure = std::move(failure);
    return refused;
}

// Nothing renamed, for the reason `failure` gives.
EngineOutcome failed(RunFailure failure, std::vector<std::size_t> rows = {}) {
    RunNews news = newsOf(RunNews::Kind::NothingRenamed, failure);
    return refused(RunOutcome::Failed, std::move(failure), std::move(news), std::move(rows));
}

RunFailure failure(RunFailure::Kind kind, std::string folder, SystemError error = {}) {
    return {kind, std::move(folder), {}, {}, std::move(error), std::nullopt, {}};
}

RunFailure renameFailure(RunFailure::Kind kind, std::string_view from, std::string_view to,
                         SystemError error = {}) {
    return {kind, {}, std::string(from), std::string(to), std::move(error), std::nullopt, {}};
}

std::vector<std::size_t> rowsOf(const std::vector<PlannedMove>& moves,
                                const std::vector<std::size_t>& indices) {
    std::vector<std::size_t> rows;
    for (const std::size_t i : indices)
        rows.push_back(moves[i].row);
    return rows;
}

std::optional<EngineOutcome> refusal(const std::vector<PlannedMove>& moves,
                                     const Preflight& check) {
    if (!check.missing.empty()) {
        const PlannedMove& move = moves[check.missing.front()];
        return failed(renameFailure(RunFailure::Kind::RenameFailed, move.from, move.to,
                                    platform::noSuchFile()),
                      rowsOf(moves, check.missing));
    }
    if (!check.taken.empty()) {
        const PlannedMove& move = moves[check.taken.front()];
        return refused(RunOutcome::NameTaken,
                       renameFailure(RunFailure::Kind::NameTaken, move.from, move.to),
                       newsOf(RunNews::Kind::NamesTaken), rowsOf(moves, check.taken));
    }
    return std::nullopt;
}

Journal journalFor(EngineRun& run, const OpenedFolder& folder) {
    Journal journal;
    journal.kind = run.kind;
    journal.folder = run.folder;
    journal.folderIdentity = folder.identity;
    journal.volume = folder.volume;
    journal.traits = folder.traits;
    journal.mark = newRunMark();
    journal.subject = run.subject;
    journal.moves = std::move(run.moves);
    return journal;
}

std::int64_t now() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
}

// Why a run stopped: its outcome, and what to tell once every file has its name back.
struct Stop {
    RunOutcome outcome = RunOutcome::Failed;
    RunFailure failure;
    std::vector<std::size_t> rows;
    // The records are no longer this process's: the folder is left to the one that holds them.
    bool handedOver = false;
};

Stop handOver(platform::LeaseStanding standing, const JournalStore& records) {
    return {RunOutcome::Failed, handedOverFailure(standing, records), {}, true};
}

Stop recordStop(const JournalStore& records, const SystemError& error) {
    return {RunOutcome::Failed,
            failure(RunFailure::Kind::RecordUnwritable, records.folderPath(), error),
            {}};
}

Stop syncStop(const std::string& folder, const SystemError& error) {
    return {RunOutcome::Failed, failure(RunFailure::Kind::SyncFailed, folder, error), {}};
}

// The steps one after the other, with the marks the record needs on the way.
class StepRun {
  public:
    StepRun(Journal& journal, const OpenedFolder& folder, platform::RecordFile& record,
            const std::string& recordName, const JournalWriter& writer, const RunContext& context,
            RenameWay way, platform::RecordFile* subject)
        : m_journal(journal), m_folder(folder), m_record(record), m_recordName(recordName),
          m_writer(writer), m_context(context), m_subject(subject),
          m_executor(
              folder.handle, journal.moves, context.disk, way, proofFor(journal, folder.traits),
              [this] { return markPlaceholders(); }, [this] { return standing(); }) {}

    // Nothing: every step is made.
    std::optional<Stop> run() {
        const std::vector<RunStep>& steps = m_journal.plan.steps;
        for (std::size_t done = 0; done < steps.size(); ++done) {
            if (cancelled())
                return Stop{RunOutcome::Cancelled,
                            failure(m_journal.kind == Journal::Kind::Undo
                                        ? RunFailure::Kind::UndoCancelled
                                        : RunFailure::Kind::Cancelled,
                                    m_journal.folder),
                            {}};
            if (done == m_journal.plan.firstClosingStep)
                if (auto stop = markClosing())
                    return stop;
            keepListingFresh();
            if (auto error = m_executor.perform(steps[done]))
                return stepFailed(steps[done], *error);
            m_done = done + 1;
            if (m_context.observer && m_journal.kind == Journal::Kind::Rollback)
                m_context.observer->rollbackStepsDone(done + 1, steps.size());
            else if (m_context.observer)
                m_context.observer->stepsDone(done + 1, steps.size());
        }
        return std::nullopt;
    }
    // Every step is made: marked so on the disk, or what kept the mark off it.
    std::optional<Stop> markComplete() {
        if (const platform::LeaseStanding now = standing(); now != platform::LeaseStanding::Held)
            return handOver(now, *m_context.records);
        if (auto error = m_context.disk.call(DiskCall::SyncFolder, {}, {},
                                             [&] { return m_folder.handle.sync(); }))
            return syncStop(m_journal.folder, *error);
        return mark(completeRecord(m_writer.headerSum(), m_writer.planSum()));
    }
    RenameWay way() const { return m_executor.way(); }
    std::size_t stepsDone() const { return m_done; }

  private:
    // Whether the run's record, and a rollback's subject, are still this process's.
    platform::LeaseStanding standing() {
        const platform::LeaseStanding own = m_record.standing();
        if (own != platform::LeaseStanding::Held || m_subject == nullptr)
            return own;
        return m_subject->standing();
    }
    // A network drive's client answers a look-up of a name from its last
    // listing for a while, then asks the server each time: a listing read
    // again now and then saves a round trip for every step in between.
    void keepListingFresh() {
        constexpr auto kEvery = std::chrono::seconds(15);
        if (!m_folder.traits.remote)
            return;
        // A test's run lists it before its first step alone: the same calls every time.
        const bool testing = m_context.testing && m_context.testing->remote;
        const auto now = std::chrono::steady_clock::now();
        if (testing ? m_done > 0 : now - m_listed < kEvery)
            return;
        m_listed = now;
        // Opened afresh: the system may keep what an open folder listed before.
        // Only a hint to the client: a listing that fails costs the steps a round trip each.
        static_cast<void>(m_context.disk.call(
            DiskCall::RefreshListing, {}, {}, [&]() -> std::optional<SystemError> {
                platform::FolderHandle again;
                if (auto error = again.open(m_folder.handle.path()))
                    return error;
                return again.forEachEntry([](const platform::EntryView&) {},
                                          platform::EntryKinds::Unresolved);
            }));
    }
    // A rollback is never cancelled: it puts names back.
    bool cancelled() const {
        return m_journal.kind != Journal::Kind::Rollback && m_context.cancel &&
               m_context.cancel->load();
    }
    // Where file numbers cannot tell, recovery needs to know that every parked
    // file and every move before the closing steps is on the disk.
    std::optional<Stop> markClosing() {
        if (m_journal.traits.stableIdentities)
            return std::nullopt;
        if (auto error = m_context.disk.call(DiskCall::SyncFolder, {}, {},
                                             [&] { return m_folder.handle.sync(); }))
            return syncStop(m_journal.folder, *error);
        // Written, even if not yet known to be on the disk: recovery may read it either way.
        m_journal.closing = Mark::Damaged;
        std::optional<Stop> stop = mark(closingRecord(m_writer.headerSum(), m_writer.planSum()));
        if (!stop)
            m_journal.closing = Mark::Present;
        return stop;
    }
    // On the disk before the first placeholder: only then is a file that
    // holds the run's mark taken for one.
    std::optional<SystemError> markPlaceholders() {
        m_journal.placeholders = Mark::Damaged;
        std::optional<SystemError> error =
            m_context.records->append(m_context.disk, m_record, m_recordName,
                                      placeholdersRecord(m_writer.headerSum(), m_writer.planSum()));
        if (!error)
            error = m_context.records->sync(m_context.disk, m_record, m_recordName);
        if (error) {
            m_recordFailed = true;
            return error;
        }
        m_journal.placeholders = Mark::Present;
        return std::nullopt;
    }
    std::optional<Stop> mark(const std::string& record) {
        std::optional<SystemError> error =
            m_context.records->append(m_context.disk, m_record, m_recordName, record);
        if (!error)
            error = m_context.records->sync(m_context.disk, m_record, m_recordName);
        if (error)
            return recordStop(*m_context.records, *error);
        return std::nullopt;
    }
    Stop stepFailed(const RunStep& step, const SystemError& error) {
        if (m_executor.standing() != platform::LeaseStanding::Held)
            return handOver(m_executor.standing(), *m_context.records);
        if (m_recordFailed)
            return recordStop(*m_context.records, error);
        const PlannedMove& move = m_journal.moves[step.b.move];
        if (platform::meansNameTaken(error))
            return {RunOutcome::Failed,
                    renameFailure(RunFailure::Kind::NameTaken, move.from,
                                  nameOf(m_journal.moves, step.b)),
                    {move.row}};
        RunFailure failed =
            renameFailure(RunFailure::Kind::RenameFailed, move.from, move.to, error);
        // Asked only once the step is given up: the system may take a while to answer.
        if (platform::errorKind(error) == ErrorKind::InUse)
            failed.holders = m_context.disk.holders(m_folder.handle,
                                                    std::string(nameOf(m_journal.moves, step.a)));
        return {RunOutcome::Failed, std::move(failed), {move.row}};
    }

    Journal& m_journal;
    const OpenedFolder& m_folder;
    platform::RecordFile& m_record;
    const std::string& m_recordName;
    const JournalWriter& m_writer;
    const RunContext& m_context;
    platform::RecordFile* m_subject;
    StepExecutor m_executor;
    bool m_recordFailed = false; // the step failed for want of a record
    std::size_t m_done = 0;
    std::chrono::steady_clock::time_point m_listed = std::chrono::steady_clock::now();
};

// The folder as the list should show it after a completed run.
FolderAfterRun folderAfter(const EngineRun& run, const Journal& journal, const Disk& disk,
                           ReadBack* readBack) {
    NewNamesOrder order;
    if (readBack && readBack->folderHoldsThem(order))
        return RowsInOrder{std::move(order.order), order.protectedFileListed, run.generation};
    FolderListed listed;
    listed.listing = listFolder(run.folder, disk);
    for (const PlannedMove& move : journal.moves) {
        listed.expectedNames.emplace_back(move.to);
        listed.formerNames.emplace_back(move.from);
    }
    return listed;
}

// Another process holds the records now and puts the folder right: nothing
// more is done here, and the list shows the folder as it is.
EngineOutcome handedOver(Stop stop, const EngineRun& run, const Journal& journal,
                         const Disk& disk) {
    EngineOutcome outcome =
        refused(stop.outcome, stop.failure, newsOf(RunNews::Kind::HandedOver, stop.failure));
    outcome.result.folder = folderAfter(run, journal, disk, nullptr);
    return outcome;
}

EngineOutcome stopped(Stop stop, Journal journal, platform::RecordFile record,
                      std::string recordName, const StepRun& steps) {
    EngineOutcome outcome =
        refused(stop.outcome, stop.failure, newsOf(RunNews::Kind::NothingRenamed, stop.failure),
                std::move(stop.rows));
    outcome.stopped = StoppedRun{std::move(journal), std::move(record), std::move(recordName),
                                 steps.way(),        steps.stepsDone(), std::move(stop.failure)};
    return outcome;
}

EngineOutcome unreadable(const std::string& folder, const SystemError& error) {
    return failed(failure(RunFailure::Kind::FolderUnreadable, folder, error));
}

// The folder checked against the moves, before anything is touched: a
// refusal, or nothing.
std::optional<EngineOutcome> checkFolder(const EngineRun& run, const OpenedFolder& folder,
                                         const Disk& disk, Journal& journal,
                                         const std::string& prefix, Preflight& check) {
    if (auto error = checkMoves(folder.handle, disk, journal.moves, folder.traits.ignoresCase,
                                prefix, check))
        return unreadable(run.folder, *error);
    return refusal(journal.moves, check);
}

void plan(Journal& journal, const OpenedFolder& folder, const RunContext& context,
          const std::string& prefix, Preflight& check) {
    journal.started = now();
    const bool exchange =
        folder.traits.stableIdentities && !(context.testing && context.testing->noExchange);
    journal.plan = buildPlan(journal.moves, {folder.traits.ignoresCase, exchange, prefix},
                             check.prefixed, std::move(check.successors));
}

RenameWay firstWay(const EngineRun& run, const RunContext& context) {
    if (run.way)
        return *run.way;
    if (context.testing && context.testing->way)
        return *context.testing->way;
    return RenameWay::NoReplaceFlag;
}

} // namespace

EngineOutcome runMoves(EngineRun run, const RunContext& context) {
    if (const auto& problem = context.records->problem()) {
        RunFailure unusable = failure(RunFailure::Kind::RecordsUnusable, problem->folder);
        unusable.problem = *problem;
        return failed(std::move(unusable));
    }
    OpenedFolder folder;
    if (auto error = openFolder(run.folder, context, folder))
        return unreadable(run.folder, *error);
    // An undo or a rollback there still puts names back.
    if (run.kind == Journal::Kind::Rename && isProgramFolder(folder.identity))
        return failed(failure(RunFailure::Kind::ProgramFolder, run.folder));
    Journal journal = journalFor(run, folder);
    // The journal's names go to the disk while the folder is checked; a run
    // refused by the check gives its record up.
    std::optional<JournalWriter> writer;
    if (!journal.moves.empty())
        writer.emplace(*context.records, context.disk, journal);
    const std::string prefix = temporaryPrefix();
    Preflight check;
    if (auto refused = checkFolder(run, folder, context.disk, journal, prefix, check))
        return std::move(*refused);

    std::optional<ReadBack> readBack;
    if (run.rows)
        readBack.emplace(run.rows, run.folder, context.disk);
    EngineOutcome outcome;
    outcome.result.outcome = RunOutcome::Completed;
    if (!journal.moves.empty()) {
        plan(journal, folder, context, prefix, check);
        if (readBack)
            readBack->start();
        platform::RecordFile record;
        std::string recordName;
        if (auto error = writer->finish(record, recordName))
            return failed(recordStop(*context.records, *error).failure);
        StepRun steps(journal, folder, record, recordName, *writer, context, firstWay(run, context),
                      run.subjectRecord);
        if (std::optional<Stop> stop = steps.run()) {
            if (stop->handedOver)
                return handedOver(std::move(*stop), run, journal, context.disk);
            return stopped(std::move(*stop), std::move(journal), std::move(record),
                           std::move(recordName), steps);
        }
        if (readBack)
            readBack->runCompleted();
        // Every file bears its new name: a mark that cannot be written takes
        // nothing back; the next start completes the record.
        if (std::optional<Stop> unmarked = steps.markComplete()) {
            if (unmarked->handedOver)
                return handedOver(std::move(*unmarked), run, journal, context.disk);
            outcome.result.news =
                newsOf(RunNews::Kind::RenamedButUnmarked, std::move(unmarked->failure));
        } else {
            context.records->prune(context.disk, recordName);
            outcome.recordName = recordName;
        }
    }
    // A rollback's caller reads the folder itself: a listing here would only hold it up.
    if (run.kind != Journal::Kind::Rollback)
        outcome.result.folder =
            folderAfter(run, journal, context.disk, readBack ? &*readBack : nullptr);
    return outcome;
}

} // namespace velmorandi
