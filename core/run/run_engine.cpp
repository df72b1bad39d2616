#include "run/run_engine.h"

#include "folder_listing.h"
#include "run/journal_store.h"
#include "run/journal_writer.h"
#include "run/preflight.h"
#include "run/run_messages.h"
#include "run/step_executor.h"
#include "temporary_names.h"

namespace velmorandi {

std::optional<SystemError> openFolder(const std::string& path, const RunTesting& testing,
                                      OpenedFolder& folder) {
    if (auto error = folder.handle.open(path))
        return error;
    if (auto error = platform::folderIdentity(folder.handle, folder.identity))
        return error;
    folder.traits = platform::describeFileSystem(folder.handle);
    folder.traits.ignoresCase = folder.traits.ignoresCase || testing.ignoreCase;
    folder.traits.stableIdentities = folder.traits.stableIdentities && !testing.noIdentities;
    return std::nullopt;
}

namespace {

using Kind = RunResult::Kind;

RunResult failure(Kind kind, std::string message, std::vector<std::size_t> rows = {}) {
    RunResult result;
    result.kind = kind;
    result.message = std::move(message);
    result.errorRows = std::move(rows);
    result.reloaded.error = SystemError{0, "not read"};
    return result;
}

std::vector<std::size_t> rowsOf(const std::vector<PlannedMove>& moves,
                                const std::vector<std::size_t>& indices) {
    std::vector<std::size_t> rows;
    for (const std::size_t i : indices)
        rows.push_back(moves[i].row);
    return rows;
}

std::optional<RunResult> refusal(const std::vector<PlannedMove>& moves, const Preflight& check) {
    if (!check.missing.empty()) {
        const PlannedMove& move = moves[check.missing.front()];
        return failure(Kind::Failed,
                       messages::noFileRenamed(messages::renameFailure(
                           std::string(move.from), std::string(move.to), platform::noSuchFile())),
                       rowsOf(moves, check.missing));
    }
    if (!check.taken.empty())
        return failure(Kind::NameTaken, kNameTakenMessage, rowsOf(moves, check.taken));
    return std::nullopt;
}

// Runs the steps; on failure or cancel it takes back what was done.
class StepRun {
  public:
    StepRun(const OpenedFolder& folder, const Journal& journal, const JournalStore& store,
            const std::string& journalName, const RunControl& control)
        : m_journal(journal), m_store(store), m_journalName(journalName), m_control(control),
          m_executor(folder.handle, journal.moves, control.seam), m_folder(folder) {}

    // Nothing: every step done.
    std::optional<RunResult> run() {
        const std::vector<RunStep>& steps = m_journal.plan.steps;
        for (std::size_t done = 0; done < steps.size(); ++done) {
            if (done == m_control.testing.abandonAfter)
                return failure(Kind::Failed, "The run was abandoned.");
            if (m_control.cancel && m_control.cancel->load())
                return rollBack(done, Kind::Cancelled, "The rename has been cancelled",
                                messages::cancelled(), {});
            if (done == m_journal.plan.firstClosingStep) {
                if (auto error = markClosing()) {
                    return rollBack(done, Kind::Failed,
                                    "Could not write the record of this rename: " + error->reason,
                                    messages::journalUnwritable(m_store.folder(), *error), {});
                }
            }
            if (auto error = m_executor.perform(steps[done])) {
                const PlannedMove& move = m_journal.moves[steps[done].b.move];
                const std::string sentence =
                    messages::renameFailure(std::string(move.from), std::string(move.to), *error);
                return rollBack(done, Kind::Failed, sentence, messages::noFileRenamed(sentence),
                                {move.row});
            }
            if (m_control.progress)
                m_control.progress(done + 1, steps.size());
        }
        if (steps.size() == m_control.testing.abandonAfter)
            return failure(Kind::Failed, "The run was abandoned.");
        return std::nullopt;
    }

  private:
    // Where file numbers cannot tell, recovery needs to know that every parked
    // file and every move before the closing steps is on the disk.
    std::optional<SystemError> markClosing() {
        if (m_journal.traits.stableIdentities)
            return std::nullopt;
        if (auto error = m_folder.handle.sync())
            return error;
        return m_store.append(m_journalName, closingRecord());
    }

    // `sentence` opens the message when some file keeps another name,
    // `message` is the whole message when every file has its name back.
    RunResult rollBack(std::size_t done, Kind kind, const std::string& sentence,
                       const std::string& message, std::vector<std::size_t> rows) {
        const std::vector<std::string> kept = m_executor.rollBack(m_journal.plan.steps, done);
        m_store.remove(m_journalName);
        if (!kept.empty()) {
            RunResult result = failure(kind, messages::keptNames(sentence, kept));
            result.reloaded = ListFolderFiles(m_journal.folder);
            return result;
        }
        RunResult result = failure(kind, message, std::move(rows));
        if (kind == Kind::Cancelled)
            result.reloaded = ListFolderFiles(m_journal.folder);
        return result;
    }

    const Journal& m_journal;
    const JournalStore& m_store;
    const std::string& m_journalName;
    const RunControl& m_control;
    StepExecutor m_executor;
    const OpenedFolder& m_folder;
};

void forgetFinished(const JournalStore& store, const Journal& journal, const std::string& name) {
    if (journal.kind == Journal::Kind::Rename) {
        store.prune(name);
        return;
    }
    // An undone or rolled-back run is gone for good, and so is the record of doing it.
    store.remove(journal.subject);
    store.remove(name);
}

} // namespace

RunResult runMoves(EngineRun run, const RunControl& control) {
    OpenedFolder folder;
    if (auto error = openFolder(run.folder, control.testing, folder))
        return failure(Kind::Failed, messages::folderUnreadable(run.folder, *error));
    Journal journal;
    journal.kind = run.kind;
    journal.folder = run.folder;
    journal.folderIdentity = folder.identity;
    journal.traits = folder.traits;
    journal.subject = run.subject;
    journal.moves = std::move(run.moves);
    // The journal's names go to the disk while the folder is checked; a run
    // refused by the check gives its journal up.
    JournalStore store;
    const std::optional<SystemError> storeError = store.open();
    std::optional<JournalWriter> writer;
    if (!storeError && !journal.moves.empty())
        writer.emplace(store, journal);

    const std::string prefix = temporaryPrefix();
    Preflight check;
    if (auto error =
            checkMoves(folder.handle, journal.moves, folder.traits.ignoresCase, prefix, check))
        return failure(Kind::Failed, messages::folderUnreadable(run.folder, *error));
    if (auto refused = refusal(journal.moves, check))
        return std::move(*refused);

    RunResult result;
    result.kind = Kind::Completed;
    if (!run.callerReadsBack)
        for (const PlannedMove& move : journal.moves)
            result.expectedNames.emplace_back(move.to);
    if (journal.moves.empty()) {
        if (!run.callerReadsBack)
            result.reloaded = ListFolderFiles(run.folder);
        return result;
    }
    if (storeError)
        return failure(Kind::Failed, messages::journalUnwritable(store.folder(), *storeError));

    PlanOptions options{folder.traits.ignoresCase,
                        folder.traits.stableIdentities && !control.testing.noExchange, prefix};
    journal.plan = buildPlan(journal.moves, options, check.prefixed, std::move(check.successors));
    if (run.planMade)
        run.planMade();
    std::string journalName;
    if (auto error = writer->finish(journalName))
        return failure(Kind::Failed, messages::journalUnwritable(store.folder(), *error));

    StepRun steps(folder, journal, store, journalName, control);
    if (auto stopped = steps.run())
        return std::move(*stopped);
    if (run.afterLastStep)
        run.afterLastStep();

    // Marked complete even when the sync failed: the user sees the new names,
    // and a later start must not take them back.
    if (const std::optional<SystemError> syncError = folder.handle.sync())
        result.message = messages::syncFailed(*syncError);
    if (!store.append(journalName, completeRecord()))
        forgetFinished(store, journal, journalName);
    else
        store.remove(journalName); // without its mark it would be rolled back at the next start
    if (!run.callerReadsBack)
        result.reloaded = ListFolderFiles(journal.folder);
    return result;
}

} // namespace velmorandi
