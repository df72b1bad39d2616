#include "run/restore.h"

#include "letter_case.h"
#include "platform/folder_changes.h"
#include "run/journal_store.h"
#include "run/locate.h"
#include "run/name_tracker.h"

#include <unordered_map>

namespace velmorandi {
namespace {

using Outcome = Restoration::Outcome;

Restoration ended(Outcome outcome, SystemError error = {}) {
    Restoration restoration;
    restoration.outcome = outcome;
    restoration.error = std::move(error);
    return restoration;
}

std::string keyOf(std::string_view name, bool ignoresCase) {
    return ignoresCase ? foldCase(name) : std::string(name);
}

struct RollbackPlan {
    std::vector<PlannedMove> moves;
    std::vector<NameNow> blocked;
};

// Every file that bears another name goes back to its listed one, unless an
// entry the run does not know holds that name now; then it stays, and so may
// the files whose names it holds. Where only names tell where files are, a
// folder partly put back could not be read again: then none moves. Nor do
// the files of a rollback stopped at an unmarked placeholder: taken back,
// they would bear new names while its run waits on the user's word.
RollbackPlan planRollback(const Journal& journal, const Located& located,
                          const std::vector<platform::FolderEntry>& entries) {
    const bool holdAll = located.unmarked && journal.kind == Journal::Kind::Rollback;
    RollbackPlan plan;
    const bool ignoresCase = journal.traits.ignoresCase;
    std::unordered_map<std::string, std::size_t> staying;
    for (const platform::FolderEntry& entry : entries)
        ++staying[keyOf(entry.name, ignoresCase)];
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < journal.moves.size(); ++i) {
        if (!located.names[i].empty() && located.names[i] != journal.moves[i].from) {
            candidates.push_back(i);
            --staying[keyOf(located.names[i], ignoresCase)];
        }
    }
    std::vector<bool> held(journal.moves.size(), false);
    for (bool changed = true; changed;) {
        changed = false;
        for (const std::size_t i : candidates) {
            if (held[i] || staying[keyOf(journal.moves[i].from, ignoresCase)] == 0)
                continue;
            held[i] = true;
            ++staying[keyOf(located.names[i], ignoresCase)];
            changed = true;
        }
    }
    const bool anyHeld = std::find(held.begin(), held.end(), true) != held.end();
    for (const std::size_t i : candidates) {
        const std::string listed(journal.moves[i].from);
        if (held[i] || holdAll || (anyHeld && !journal.traits.stableIdentities))
            plan.blocked.push_back({listed, located.names[i]});
        else
            plan.moves.push_back({located.names[i], journal.moves[i].from, {}, 0, i});
    }
    return plan;
}

// Every file found under its listed name, read off the disk: by its number
// where numbers last.
bool everyFileListed(const Journal& journal, const std::vector<platform::FolderEntry>& entries) {
    std::unordered_map<std::string_view, std::uint64_t> present;
    for (const platform::FolderEntry& entry : entries)
        present.emplace(entry.name, entry.identity);
    for (const PlannedMove& move : journal.moves) {
        const auto found = present.find(move.from);
        if (found == present.end() ||
            (journal.traits.stableIdentities && found->second != move.identity))
            return false;
    }
    return true;
}

// The files of a stopped run that do not bear their listed names, as far as
// the run knows: its first `done` steps made. A rollback's files are listed
// under its moves' targets.
std::vector<NameNow> displacedFiles(const Journal& journal, std::size_t done) {
    NameTracker tracker(journal.moves);
    for (std::size_t i = 0; i < done && i < journal.plan.steps.size(); ++i)
        tracker.apply(journal.plan.steps[i]);
    const bool rollback = journal.kind == Journal::Kind::Rollback;
    std::vector<NameNow> displaced;
    const std::vector<std::string> current = tracker.currentNames();
    for (std::size_t i = 0; i < journal.moves.size(); ++i) {
        const std::string listed(rollback ? journal.moves[i].to : journal.moves[i].from);
        if (current[i] != listed)
            displaced.push_back({listed, current[i]});
    }
    return displaced;
}

// The run's record is another process's now, or may be: the folder is that one's to put right.
bool handedOver(const RunFailure& failure) {
    return failure.kind == RunFailure::Kind::TakenOver ||
           failure.kind == RunFailure::Kind::OwnershipUnconfirmed;
}

// What a stopped run tells in place of its own news, the folder read as it is now.
RunResult toldWithFolder(RunResult result, RunNews::Kind kind, const RunFailure& failure,
                         const std::string& folder, const Disk& disk) {
    result.news = {};
    result.news.kind = kind;
    result.news.failure = failure;
    result.errorRows.clear();
    result.folder = FolderListed{listFolder(folder, disk), {}};
    return result;
}

// A record that has done its work goes; where it cannot, the next start tries again.
[[nodiscard]] std::optional<SystemError> removeRecord(const JournalStore& records, const Disk& disk,
                                                      const std::string& name) {
    JournalStore::Read held = records.hold(disk, name);
    if (held.opened == platform::RecordFile::Opened::Gone)
        return std::nullopt;
    if (held.opened != platform::RecordFile::Opened::Yes)
        return held.error;
    return records.remove(disk, held.file, name);
}

// Every file bears the name the run gives it last, and nothing a step left is there.
bool finalNamesBorne(const Journal& journal, const Located& located) {
    if (!located.leftovers.empty() || !located.missing.empty())
        return false;
    for (std::size_t i = 0; i < journal.moves.size(); ++i)
        if (located.names[i] != journal.moves[i].to)
            return false;
    return true;
}

// A folder that is not the run's own shows no step of the run: a copy or a
// backup made before it, which proves nothing.
bool showsNoStep(const Located& located) {
    return located.stepsDone.value_or(0) == 0 && located.leftovers.empty();
}

struct Found {
    OpenedFolder folder;
    FolderMatch match = FolderMatch::Other;
    std::vector<platform::FolderEntry> entries;
    Located located;
};

// The run's files in the folder at `folderPath`, or how the folder fell short.
std::optional<Restoration> find(const Journal& journal, const std::string& folderPath,
                                const RunContext& context, std::optional<std::size_t> stepsDone,
                                Found& found) {
    if (auto error = openFolder(folderPath, context, found.folder))
        return ended(Outcome::FolderAway, *error);
    const FolderMatch match = matchFolder(headerOf(journal), folderPath, found.folder);
    found.match = match;
    if (match == FolderMatch::Other)
        return ended(Outcome::FolderReplaced);
    if (auto error = context.disk.readEntries(found.folder.handle, found.entries))
        return ended(Outcome::FolderAway, *error);
    const auto checked = [&context](std::size_t done, std::size_t total) {
        if (context.observer)
            context.observer->rollbackFilesChecked(done, total);
    };
    found.located =
        locateFiles(journal, found.folder.handle, context.disk,
                    proofFor(journal, found.folder.traits), found.entries, stepsDone, checked);
    if (found.located.unreadable)
        return ended(Outcome::FolderAway, *found.located.unreadable);
    Restoration restoration;
    restoration.match = match;
    if (found.located.proof == Located::Proof::OtherFolder ||
        (match == FolderMatch::SameVolume && found.located.proof == Located::Proof::Proven &&
         showsNoStep(found.located))) {
        restoration.outcome = Outcome::FolderReplaced;
        return restoration;
    }
    if (found.located.proof == Located::Proof::Unproven) {
        restoration.outcome = Outcome::Unproven;
        restoration.foreign = found.located.foreign;
        return restoration;
    }
    if (finalNamesBorne(journal, found.located)) {
        restoration.outcome = Outcome::Finished;
        return restoration;
    }
    return std::nullopt;
}

Restoration leftoverKept(const std::string& folderPath, const std::string& name,
                         LeftoverKept kept) {
    Restoration failed = ended(Outcome::Failed);
    failed.failure.kind =
        kept.unproven ? RunFailure::Kind::LeftoverNotProven : RunFailure::Kind::LeftoverNotRemoved;
    failed.failure.folder = folderPath;
    failed.failure.from = name;
    failed.failure.error = std::move(kept.error);
    return failed;
}

// The unmarked placeholder the user had removed goes, proven again just
// before; one gone meanwhile needs nothing; one that is something else now stays.
std::optional<Restoration> removeUnmarked(const Journal& journal, const std::string& folderPath,
                                          Found& found, const RunContext& context) {
    const std::string name = *found.located.unmarked;
    const platform::FolderHandle& folder = found.folder.handle;
    platform::EntryStatus status;
    if (auto error = context.disk.status(folder, name, status)) {
        if (!platform::meansNoSuchFile(*error))
            return ended(Outcome::FolderAway, *error);
    } else if (!isUnmarkedPlaceholder(journal, folder, context.disk, name,
                                      proofFor(journal, found.folder.traits).placeholder)) {
        Restoration kept = ended(Outcome::Unproven);
        kept.foreign = Located::Foreign{name, !status.regular};
        return kept;
    } else if (auto error = context.disk.call(DiskCall::RemoveLeftover, name, {},
                                              [&] { return platform::unlinkName(folder, name); })) {
        return leftoverKept(folderPath, name, {false, std::move(*error)});
    }
    found.located.unmarked.reset();
    return std::nullopt;
}

// What a step left half-way goes, each proven again just before; an unmarked
// placeholder only where the user said so. The folder is read again after.
std::optional<Restoration> clearLeftovers(const Journal& journal, const std::string& folderPath,
                                          Found& found, const RunContext& context,
                                          const std::optional<std::string>& removable) {
    const LeftoverProof proof = proofFor(journal, found.folder.traits);
    for (const Leftover& leftover : found.located.leftovers)
        if (auto kept = removeLeftover(found.folder.handle, context.disk, leftover, proof))
            return leftoverKept(folderPath, leftover.name, std::move(*kept));
    bool changed = !found.located.leftovers.empty();
    if (found.located.unmarked && found.located.unmarked == removable) {
        if (auto stopped = removeUnmarked(journal, folderPath, found, context))
            return stopped;
        changed = true;
    }
    if (changed)
        if (auto error = context.disk.readEntries(found.folder.handle, found.entries))
            return ended(Outcome::FolderAway, *error);
    return std::nullopt;
}

// Nothing is changed on the strength of a record this process may no longer hold.
std::optional<Restoration> unlessHeld(platform::RecordFile& record, const RunContext& context) {
    const platform::LeaseStanding standing = record.standing();
    if (standing == platform::LeaseStanding::Held)
        return std::nullopt;
    Restoration failed = ended(Outcome::Failed);
    failed.failure = handedOverFailure(standing, *context.records);
    return failed;
}

// The rollback's own run, which gives the files their listed names back; where
// it stops or fails, what the restoration then says.
std::optional<Restoration> runRollback(EngineRun run, const RunContext& context,
                                       Restoration& restoration, std::string& rollbackRecord) {
    const std::size_t count = run.moves.size();
    EngineOutcome rollback = runMoves(std::move(run), context);
    if (rollback.stopped || rollback.result.outcome != RunOutcome::Completed) {
        restoration.outcome = Outcome::Failed;
        restoration.failure = rollback.failure;
        if (rollback.stopped)
            for (NameNow& still :
                 displacedFiles(rollback.stopped->journal, rollback.stopped->stepsDone))
                restoration.stillRenamed.push_back(std::move(still));
        return restoration;
    }
    restoration.restored = count;
    rollbackRecord = rollback.recordName;
    return std::nullopt;
}

} // namespace

Restoration restoreRun(const Journal& journal, platform::RecordFile& record,
                       const std::string& recordName, const std::string& folderPath,
                       std::optional<RenameWay> way, const RunContext& context,
                       std::optional<std::size_t> stepsDone,
                       const std::optional<std::string>& removable) {
    Found found;
    if (std::optional<Restoration> ended = find(journal, folderPath, context, stepsDone, found))
        return std::move(*ended);
    if (auto lost = unlessHeld(record, context))
        return std::move(*lost);
    if (auto stopped = clearLeftovers(journal, folderPath, found, context, removable))
        return std::move(*stopped);
    const OpenedFolder& folder = found.folder;
    std::vector<platform::FolderEntry>& entries = found.entries;
    const Located& located = found.located;

    RollbackPlan plan = planRollback(journal, located, entries);
    Restoration restoration;
    restoration.match = found.match;
    restoration.missing = located.missing;
    restoration.stillRenamed = plan.blocked;
    std::string rollbackRecord;
    if (!plan.moves.empty())
        if (auto failed = runRollback({.folder = folderPath,
                                       .moves = std::move(plan.moves),
                                       .kind = Journal::Kind::Rollback,
                                       .subject = recordName,
                                       .rows = nullptr,
                                       .generation = 0,
                                       .way = way,
                                       .subjectRecord = &record},
                                      context, restoration, rollbackRecord))
            return std::move(*failed);
    // The record goes only once its own folder shows every file under its
    // listed name; the rollback's goes after it, as while it is there it says so.
    if (auto error = context.disk.readEntries(folder.handle, entries))
        return ended(Outcome::FolderAway, *error);
    // Where only names tell, a listed name borne by another program's entry
    // is no file of the run's: a file held back by one is not whole.
    const bool whole =
        plan.blocked.empty() && located.missing.empty() && everyFileListed(journal, entries);
    restoration.outcome = located.unmarked                        ? Outcome::Undecided
                          : !whole                                ? Outcome::InPart
                          : restoration.match == FolderMatch::Own ? Outcome::Whole
                                                                  : Outcome::WholeElsewhere;
    restoration.unmarked = located.unmarked;
    if (restoration.outcome == Outcome::Whole)
        restoration.recordLeft = context.records->remove(context.disk, record, recordName);
    // A rollback's record left behind says only that its run is whole; the next start removes it.
    // While the run's record stays, the rollback's is what proves the files put back: where
    // names alone tell, the folder as it was matches no point the run's record allows.
    const bool runRecordStays = restoration.outcome == Outcome::Whole && restoration.recordLeft;
    if (!rollbackRecord.empty() && !runRecordStays)
        static_cast<void>(removeRecord(*context.records, context.disk, rollbackRecord));
    return restoration;
}

void finishRolledBack(const std::string& rollbackRecord, const JournalHeader& rollback,
                      const RunContext& context) {
    JournalStore::Read subject = context.records->read(context.disk, rollback.subject, true);
    if (subject.opened == platform::RecordFile::Opened::Yes && subject.decoded.journal) {
        const Journal& journal = *subject.decoded.journal;
        OpenedFolder folder;
        std::vector<platform::FolderEntry> entries;
        if (openFolder(rollback.folder, context, folder) ||
            context.disk.readEntries(folder.handle, entries) || !everyFileListed(journal, entries))
            return;
        // Made in a folder that is not the run's own, it ends only its own record.
        // Beside an unmarked placeholder the run's record stays, for the user to be asked.
        if (matchFolder(headerOf(journal), rollback.folder, folder) == FolderMatch::Own &&
            !showsUnmarkedPlaceholder(journal, folder.handle, context.disk, entries,
                                      proofFor(journal, folder.traits).placeholder) &&
            context.records->remove(context.disk, subject.file, rollback.subject))
            return;
    } else if (subject.opened != platform::RecordFile::Opened::Gone) {
        return;
    }
    // Where it cannot go now, the next start tries again.
    static_cast<void>(removeRecord(*context.records, context.disk, rollbackRecord));
}

RunResult runAllOrNothing(EngineRun run, const RunContext& context) {
    EngineOutcome outcome = runMoves(std::move(run), context);
    if (!outcome.stopped)
        return std::move(outcome.result);
    StoppedRun& stopped = *outcome.stopped;
    RunResult result = std::move(outcome.result);
    // A rollback that stops waits for the next start: the runs it reverses are still recorded.
    Restoration restoration;
    if (stopped.journal.kind != Journal::Kind::Rollback)
        restoration = restoreRun(stopped.journal, stopped.record, stopped.recordName,
                                 stopped.journal.folder, stopped.way, context, stopped.stepsDone);
    if (restoration.outcome == Outcome::Whole)
        return result; // the list still shows the folder as it is
    if (restoration.outcome == Outcome::Finished) {
        // The call that failed took effect all the same: the run is done.
        result.outcome = RunOutcome::Completed;
        return toldWithFolder(std::move(result), RunNews::Kind::RenamedButUnmarked, stopped.failure,
                              stopped.journal.folder, context.disk);
    }
    if (handedOver(restoration.failure))
        return toldWithFolder(std::move(result), RunNews::Kind::HandedOver, restoration.failure,
                              stopped.journal.folder, context.disk);
    // Where the rollback got under way, it knows best which files it could not move.
    const bool rollbackTold =
        restoration.outcome == Outcome::InPart || restoration.outcome == Outcome::Undecided ||
        (restoration.outcome == Outcome::Failed && !restoration.stillRenamed.empty());
    result.news = {};
    result.news.kind = RunNews::Kind::NotRestored;
    result.news.failure = stopped.failure;
    result.news.stillRenamed = rollbackTold ? restoration.stillRenamed
                                            : displacedFiles(stopped.journal, stopped.stepsDone);
    result.news.rollbackFailure = restoration.failure;
    result.errorRows.clear();
    result.folder = FolderListed{listFolder(stopped.journal.folder, context.disk), {}};
    return result;
}

} // namespace velmorandi
