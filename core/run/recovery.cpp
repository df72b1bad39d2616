#include "run/recovery.h"

#include "letter_case.h"
#include "platform/path_text.h"
#include "run/journal_store.h"
#include "run/name_tracker.h"
#include "run/run_messages.h"

#include <cstdint>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

namespace velmorandi {
namespace {

std::vector<std::string> locateByIdentity(const Journal& journal, const OpenedFolder& folder) {
    std::unordered_multimap<std::uint64_t, const std::string*> byIdentity;
    for (const platform::FolderEntry& entry : folder.entries)
        byIdentity.emplace(entry.identity, &entry.name);
    std::vector<std::string> located(journal.moves.size());
    for (std::size_t i = 0; i < journal.moves.size(); ++i) {
        const PlannedMove& move = journal.moves[i];
        const auto [first, last] = byIdentity.equal_range(move.identity);
        for (auto entry = first; entry != last; ++entry) {
            const std::string& name = *entry->second;
            // A second link to the same file: prefer a name of this run.
            if (located[i].empty() || name == move.from || name == move.to ||
                name == move.temporary)
                located[i] = name;
        }
    }
    return located;
}

// How many steps the names on disk show done: the step count whose names
// differ least from the folder, within what the closing mark allows.
std::size_t stepsShownDone(const Journal& journal, const std::unordered_set<std::string>& present) {
    const std::vector<RunStep>& steps = journal.plan.steps;
    std::unordered_set<std::string> universe;
    for (const PlannedMove& move : journal.moves)
        universe.emplace(move.from);
    for (const RunStep& step : steps) {
        universe.emplace(nameOf(journal.moves, step.a));
        universe.emplace(nameOf(journal.moves, step.b));
    }
    std::unordered_set<std::string> atStart;
    for (const PlannedMove& move : journal.moves)
        atStart.emplace(move.from);
    long difference = 0;
    for (const std::string& name : universe)
        difference += atStart.contains(name) != present.contains(name);

    const std::size_t lowest = journal.closing ? journal.plan.firstClosingStep : 0;
    const std::size_t highest = journal.closing ? steps.size() : journal.plan.firstClosingStep;
    std::size_t best = lowest;
    long bestDifference = -1;
    for (std::size_t done = 0;; ++done) {
        if (done >= lowest && done <= highest && (bestDifference < 0 || difference < bestDifference)) {
            best = done;
            bestDifference = difference;
        }
        if (done == steps.size())
            break;
        const RunStep& step = steps[done];
        if (step.op == RunStep::Op::Exchange)
            continue;
        difference += present.contains(std::string(nameOf(journal.moves, step.a))) ? 1 : -1;
        difference += present.contains(std::string(nameOf(journal.moves, step.b))) ? -1 : 1;
    }
    return best;
}

std::vector<std::string> locateBySteps(const Journal& journal, const OpenedFolder& folder) {
    std::unordered_set<std::string> present;
    for (const platform::FolderEntry& entry : folder.entries)
        present.insert(entry.name);
    const std::size_t done = stepsShownDone(journal, present);
    NameTracker tracker(journal.moves);
    for (std::size_t i = 0; i < done; ++i)
        tracker.apply(journal.plan.steps[i]);
    // Where renames cannot refuse to replace, a step first reserves its target
    // with an empty file; one left by the interrupted step is removed.
    if (done < journal.plan.steps.size()) {
        const std::string target(nameOf(journal.moves, journal.plan.steps[done].b));
        if (present.contains(target) && !tracker.holder(target))
            platform::removeEmptyFile(folder.handle, target);
    }
    std::vector<std::string> located = tracker.currentNames();
    for (std::string& name : located)
        if (!present.contains(name))
            name.clear();
    return located;
}

} // namespace

std::vector<std::string> locateFiles(const Journal& journal, const OpenedFolder& folder) {
    if (journal.traits.stableIdentities)
        return locateByIdentity(journal, folder);
    return locateBySteps(journal, folder);
}

namespace {

std::string keyOf(std::string_view name, bool ignoresCase) {
    return ignoresCase ? foldCase(name) : std::string(name);
}

struct RollbackPlan {
    std::vector<PlannedMove> moves;
    std::vector<std::string> notRestored; // "listed is now current"
};

// Files go back to their listed names unless something else holds that name
// now; those stay where they are, and so may the files whose names they hold.
RollbackPlan planRollback(const Journal& journal, const OpenedFolder& folder,
                          const std::vector<std::string>& located) {
    RollbackPlan plan;
    const bool ignoresCase = folder.traits.ignoresCase;
    std::unordered_map<std::string, std::size_t> staying;
    for (const platform::FolderEntry& entry : folder.entries)
        ++staying[keyOf(entry.name, ignoresCase)];
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < journal.moves.size(); ++i) {
        if (located[i].empty()) {
            plan.notRestored.push_back(std::string(journal.moves[i].from) + " cannot be found");
        } else if (located[i] != journal.moves[i].from) {
            candidates.push_back(i);
            --staying[keyOf(located[i], ignoresCase)];
        }
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t& i : candidates) {
            if (i == SIZE_MAX || staying[keyOf(journal.moves[i].from, ignoresCase)] == 0)
                continue;
            plan.notRestored.push_back(std::string(journal.moves[i].from) + " is now " +
                                       located[i]);
            ++staying[keyOf(located[i], ignoresCase)];
            i = SIZE_MAX;
            changed = true;
        }
    }
    for (const std::size_t i : candidates)
        if (i != SIZE_MAX)
            plan.moves.push_back({located[i], journal.moves[i].from, {}, 0, i});
    return plan;
}

struct Recovered {
    std::string sentence;
    bool anyNotRestored = false;
};

// Gone for good only where the folder's own drive is there without it: a drive
// that is unplugged or not mounted yet may bring the folder back later.
bool goneForGood(const Journal& journal) {
    std::filesystem::path path = platform::fileSystemPath(journal.folder);
    while (path.has_relative_path()) {
        path = path.parent_path();
        platform::FolderHandle ancestor;
        if (ancestor.open(platform::pathBytes(path)))
            continue;
        platform::FileIdentity identity;
        return !platform::folderIdentity(ancestor, identity) &&
               identity.device == journal.folderIdentity.device;
    }
    return false;
}

// Recovery reads the whole folder: it looks for files by number and by name.
std::optional<SystemError> openWithEntries(const std::string& path, const RunTesting& testing,
                                           OpenedFolder& folder) {
    if (auto error = openFolder(path, testing, folder))
        return error;
    return folder.handle.readEntries(folder.entries, platform::EntryKinds::Unresolved);
}

Recovered recoverOne(const JournalStore& store, const std::string& name, const Journal& journal,
                     const RunControl& control) {
    OpenedFolder folder;
    std::optional<SystemError> error = openWithEntries(journal.folder, control.testing, folder);
    // Device numbers may change when a drive is plugged in again; the folder's
    // own number stays.
    const bool otherFolder = !error && journal.traits.stableIdentities &&
                             folder.identity.inode != journal.folderIdentity.inode;
    if (error || otherFolder) {
        // Another folder in its place, or one gone for good, cannot be restored;
        // one that cannot be reached now may be later, so its journal stays.
        const bool kept = !otherFolder && !(platform::meansNoSuchFile(*error) && goneForGood(journal));
        if (!kept)
            store.remove(name);
        const SystemError reason =
            otherFolder ? SystemError{platform::noSuchFile().code, "it has been replaced"} : *error;
        return {messages::recoveryFolderGone(journal.folder, reason, kept), true};
    }
    const std::vector<std::string> located = locateFiles(journal, folder);
    RollbackPlan plan = planRollback(journal, folder, located);
    folder.entries = {}; // the rollback reads the folder afresh
    const std::size_t count = plan.moves.size();
    if (count == 0) {
        store.remove(name);
        return {messages::recovered(journal.folder, 0, plan.notRestored), !plan.notRestored.empty()};
    }
    const RunResult result =
        runMoves({journal.folder, std::move(plan.moves), Journal::Kind::Rollback, name}, control);
    if (result.kind == RunResult::Kind::Completed)
        return {messages::recovered(journal.folder, count, plan.notRestored),
                !plan.notRestored.empty()};
    // The journal stays, so the next start tries again.
    std::vector<std::string> stranded = plan.notRestored;
    for (std::size_t i = 0; i < located.size(); ++i)
        if (!located[i].empty() && located[i] != journal.moves[i].from)
            stranded.push_back(std::string(journal.moves[i].from) + " is now " + located[i]);
    return {messages::recovered(journal.folder, 0, stranded), true};
}

} // namespace

RecoveryReport RecoverInterruptedRuns(const RunControl& control) {
    JournalStore store;
    if (store.open())
        return {};
    std::vector<std::string> sentences;
    bool anyNotRestored = false;
    const std::vector<JournalStore::Entry> entries = store.list();
    // Newest first: a rollback interrupted in its turn is undone before the run it rolled back.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (entry->complete) {
            if (entry->header.kind != Journal::Kind::Rename) {
                store.remove(entry->header.subject);
                store.remove(entry->name);
            }
            continue;
        }
        const std::optional<Journal> journal = store.read(entry->name);
        if (!journal) {
            // Never written completely, so no step of it ran.
            store.remove(entry->name);
            continue;
        }
        Recovered recovered = recoverOne(store, entry->name, *journal, control);
        sentences.push_back(std::move(recovered.sentence));
        anyNotRestored = anyNotRestored || recovered.anyNotRestored;
    }
    if (sentences.empty())
        return {};
    return {messages::recoveryReport(sentences, anyNotRestored)};
}

} // namespace velmorandi
