#include "run/locate.h"

#include "platform/folder_changes.h"
#include "run/journal_codec.h"
#include "run/name_tracker.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace velmorandi {
namespace {

using NameSet = std::unordered_set<std::string_view>;

// A status that fails for another reason than a missing entry tells nothing
// of the entry: kept, so that nothing is concluded from it.
bool statusFails(std::optional<SystemError> error, std::optional<SystemError>& unreadable) {
    if (!error)
        return false;
    if (!platform::meansNoSuchFile(*error) && !unreadable)
        unreadable = std::move(error);
    return true;
}

// Every name the run gives any of its files at any point.
NameSet namesOfRun(const Journal& journal) {
    NameSet names;
    for (const PlannedMove& move : journal.moves) {
        names.insert(move.from);
        names.insert(move.to);
        if (!move.temporary.empty())
            names.insert(move.temporary);
    }
    return names;
}

NameSet presentOf(const std::vector<platform::FolderEntry>& entries, const NameSet& run) {
    NameSet present;
    for (const platform::FolderEntry& entry : entries)
        if (run.contains(entry.name))
            present.insert(entry.name);
    return present;
}

// A point of the run: `done` steps, and with `half` the next one stopped
// between its calls, its new name there beside the old.
struct Point {
    std::size_t done = 0;
    bool half = false;
};

// The steps the closing mark allows: before it, every parked file and every
// move before the closing steps may not be on the disk yet.
std::pair<std::size_t, std::size_t> allowedSteps(const Journal& journal) {
    const std::size_t closing = journal.plan.firstClosingStep;
    const std::size_t all = journal.plan.steps.size();
    switch (journal.closing) {
    case Mark::Present:
        return {closing, all};
    case Mark::Absent:
        return {0, closing};
    case Mark::Damaged:
        break;
    }
    return {0, all};
}

// The points whose names are exactly those present, counted as the steps are
// replayed: each rename takes one name away and brings another.
std::vector<Point> pointsMatching(const Journal& journal, const NameSet& present) {
    const std::vector<RunStep>& steps = journal.plan.steps;
    const auto [lowest, highest] = allowedSteps(journal);
    NameSet atStart;
    for (const PlannedMove& move : journal.moves)
        atStart.insert(move.from);
    long difference = 0;
    for (const std::string_view name : namesOfRun(journal))
        difference += atStart.contains(name) != present.contains(name);
    std::vector<Point> points;
    for (std::size_t done = 0;; ++done) {
        const bool nextRenames = done < steps.size() && steps[done].op == RunStep::Op::Rename;
        if (done >= lowest && done <= highest) {
            if (difference == 0)
                points.push_back({done, false});
            if (difference == 1 && nextRenames &&
                present.contains(nameOf(journal.moves, steps[done].b)))
                points.push_back({done, true});
        }
        if (done == steps.size())
            return points;
        if (!nextRenames)
            continue;
        difference += present.contains(nameOf(journal.moves, steps[done].a)) ? 1 : -1;
        difference += present.contains(nameOf(journal.moves, steps[done].b)) ? -1 : 1;
    }
}

// A step stopped half-way left its new name beside the old one: a
// placeholder of the run's, or a second name of the same file. Anything else
// there is not that step's doing: `foreign` then says what it is.
std::optional<Leftover> leftByStep(const Journal& journal, const platform::FolderHandle& folder,
                                   const Disk& disk, const LeftoverProof& proof, const Point& point,
                                   std::optional<Located::Foreign>& foreign) {
    const RunStep& step = journal.plan.steps[point.done];
    const std::string name(nameOf(journal.moves, step.b));
    const Leftover second{Leftover::Kind::SecondName, name,
                          std::string(nameOf(journal.moves, step.a))};
    if (provesLeftover(folder, disk, second, proof))
        return second;
    const Leftover placeholder{Leftover::Kind::Placeholder, name, {}};
    if (journal.placeholders != Mark::Absent && provesLeftover(folder, disk, placeholder, proof))
        return placeholder;
    platform::EntryStatus status;
    if (!foreign && !disk.status(folder, name, status))
        foreign = Located::Foreign{name, !status.regular};
    return std::nullopt;
}

// The run that stopped knows how many steps it made (one more, where a call
// that failed took effect all the same); only its files' names need be
// there, as an entry of another program's may have taken a name it wanted.
std::vector<Point> pointsKnown(const Journal& journal, const platform::FolderHandle& folder,
                               const Disk& disk, const LeftoverProof& proof, const NameSet& present,
                               std::size_t stepsDone, std::vector<Leftover>& leftovers) {
    const std::vector<RunStep>& steps = journal.plan.steps;
    NameTracker tracker(journal.moves);
    for (std::size_t i = 0; i < stepsDone && i < steps.size(); ++i)
        tracker.apply(steps[i]);
    for (std::size_t done = stepsDone; done <= std::min(stepsDone + 1, steps.size()); ++done) {
        const std::vector<std::string> names = tracker.currentNames();
        const bool there = std::all_of(names.begin(), names.end(), [&](const std::string& name) {
            return present.contains(name);
        });
        const Point half{done, true};
        std::optional<Located::Foreign> foreign;
        if (there && done < steps.size() && steps[done].op == RunStep::Op::Rename &&
            present.contains(nameOf(journal.moves, steps[done].b)))
            if (auto leftover = leftByStep(journal, folder, disk, proof, half, foreign)) {
                leftovers.push_back(std::move(*leftover));
                return {half};
            }
        if (there)
            return {Point{done, false}};
        if (done < steps.size())
            tracker.apply(steps[done]);
    }
    return {};
}

// Where an unmarked placeholder can lie beside the files at `point`: under
// the new name of the step that comes next, or, once a rollback has put back
// every file it held nothing back from, under a name no file was listed with.
bool mayLieBeside(const Journal& journal, const Point& point, std::string_view name) {
    const std::vector<RunStep>& steps = journal.plan.steps;
    if (point.done < steps.size() && steps[point.done].op == RunStep::Op::Rename &&
        nameOf(journal.moves, steps[point.done].b) == name)
        return true;
    return point.done == 0 &&
           std::none_of(journal.moves.begin(), journal.moves.end(),
                        [&](const PlannedMove& move) { return move.from == name; });
}

// No point of the run shows: one entry too many, an unmarked placeholder,
// may hide the one that does. Taken only where exactly one such entry and
// point fit.
std::vector<Point> pointsBeside(const Journal& journal, const platform::FolderHandle& folder,
                                const Disk& disk, const LeftoverProof& proof,
                                const NameSet& present, Located& located) {
    if (journal.placeholders == Mark::Absent)
        return {};
    NameSet tried;
    std::vector<Point> found;
    for (const RunStep& step : journal.plan.steps) {
        const std::string name(nameOf(journal.moves, step.b));
        if (step.op != RunStep::Op::Rename || !present.contains(name) ||
            !tried.insert(nameOf(journal.moves, step.b)).second ||
            !isUnmarkedPlaceholder(journal, folder, disk, name, proof.placeholder))
            continue;
        NameSet without = present;
        without.erase(name);
        for (const Point& point : pointsMatching(journal, without))
            if (!point.half && mayLieBeside(journal, point, name)) {
                found.push_back(point);
                located.unmarked = name;
            }
    }
    if (found.size() != 1)
        located.unmarked.reset();
    return found;
}

Located byNames(const Journal& journal, const platform::FolderHandle& folder, const Disk& disk,
                const LeftoverProof& proof, const std::vector<platform::FolderEntry>& entries,
                std::optional<std::size_t> stepsDone) {
    Located located;
    const NameSet present = presentOf(entries, namesOfRun(journal));
    std::vector<Point> points;
    if (stepsDone) {
        points = pointsKnown(journal, folder, disk, proof, present, *stepsDone, located.leftovers);
    } else {
        for (const Point& point : pointsMatching(journal, present)) {
            if (!point.half) {
                points.push_back(point);
            } else if (auto leftover =
                           leftByStep(journal, folder, disk, proof, point, located.foreign)) {
                points.push_back(point);
                located.leftovers.push_back(std::move(*leftover));
            }
        }
    }
    if (points.empty() && !stepsDone)
        points = pointsBeside(journal, folder, disk, proof, present, located);
    if (points.size() != 1) {
        located.proof = Located::Proof::Unproven;
        return located;
    }
    located.foreign.reset();
    const Point point = points.front();
    std::erase_if(located.leftovers, [&](const Leftover& leftover) {
        return !point.half ||
               leftover.name != nameOf(journal.moves, journal.plan.steps[point.done].b);
    });
    NameTracker tracker(journal.moves);
    for (std::size_t i = 0; i < point.done; ++i)
        tracker.apply(journal.plan.steps[i]);
    located.names = tracker.currentNames();
    located.stepsDone = point.done;
    if (allYoungerThanRun(journal, folder, disk, located.names, located.unreadable))
        located.proof = Located::Proof::OtherFolder;
    return located;
}

// One file's name among its candidates, all bearing its number: the others
// are second names left by a step stopped half-way.
void takeCandidates(const PlannedMove& move, std::vector<std::string_view>& names, Located& located,
                    std::string& name) {
    name = std::string(names.front());
    for (const std::string_view candidate : names)
        if (candidate == move.from)
            name = std::string(candidate);
    for (const std::string_view candidate : names)
        if (candidate != name)
            located.leftovers.push_back({Leftover::Kind::SecondName, std::string(candidate), name});
}

Located byIdentity(const Journal& journal, const platform::FolderHandle& folder, const Disk& disk,
                   const LeftoverProof& proof, const std::vector<platform::FolderEntry>& entries,
                   const FilesChecked& checked) {
    Located located;
    const NameSet run = namesOfRun(journal);
    std::unordered_multimap<std::uint64_t, std::string_view> byNumber;
    for (const platform::FolderEntry& entry : entries)
        if (run.contains(entry.name))
            byNumber.emplace(entry.identity, entry.name);
    located.names.resize(journal.moves.size());
    NameSet taken;
    std::vector<std::string_view> candidates;
    for (std::size_t i = 0; i < journal.moves.size(); ++i) {
        if (checked)
            checked(i, journal.moves.size());
        const PlannedMove& move = journal.moves[i];
        candidates.clear();
        const auto [first, last] = byNumber.equal_range(move.identity);
        for (auto entry = first; entry != last; ++entry)
            if (isRunsFile(journal, folder, disk, std::string(entry->second), move.identity,
                           located.unreadable))
                candidates.push_back(entry->second);
        if (candidates.empty()) {
            located.missing.emplace_back(move.from);
            continue;
        }
        takeCandidates(move, candidates, located, located.names[i]);
        taken.insert(located.names[i]);
    }
    if (checked)
        checked(journal.moves.size(), journal.moves.size());
    // A placeholder: the run's own, under a step's new name that no file of the run bears.
    if (journal.placeholders == Mark::Absent)
        return located;
    const NameSet present = presentOf(entries, run);
    for (const RunStep& step : journal.plan.steps) {
        const Leftover placeholder{
            Leftover::Kind::Placeholder, std::string(nameOf(journal.moves, step.b)), {}};
        if (step.op == RunStep::Op::Rename && present.contains(placeholder.name) &&
            !taken.contains(placeholder.name) && provesLeftover(folder, disk, placeholder, proof)) {
            located.leftovers.push_back(placeholder);
            taken.insert(nameOf(journal.moves, step.b));
        }
    }
    return located;
}

} // namespace

// Files may keep their times a second or two coarser.
bool allYoungerThanRun(const Journal& journal, const platform::FolderHandle& folder,
                       const Disk& disk, const std::vector<std::string>& names,
                       std::optional<SystemError>& unreadable) {
    constexpr std::int64_t kCoarseness = 2'000'000'000;
    if (journal.started == 0)
        return false;
    std::size_t seen = 0;
    for (const std::string& name : names) {
        platform::EntryStatus status;
        if (name.empty() || statusFails(disk.status(folder, name, status), unreadable))
            continue;
        const std::int64_t made = status.birth != 0 ? status.birth : status.modified;
        if (made <= journal.started + kCoarseness)
            return false;
        ++seen;
    }
    return seen > 0;
}

bool isUnmarkedPlaceholder(const Journal& journal, const platform::FolderHandle& folder,
                           const Disk& disk, const std::string& name, const std::string& content) {
    constexpr std::int64_t kCoarseness = 2'000'000'000;
    platform::EntryStatus status;
    if (content.empty() || journal.started == 0 || disk.status(folder, name, status) ||
        !status.regular || status.size >= content.size())
        return false;
    const std::int64_t made = status.birth != 0 ? status.birth : status.modified;
    std::string bytes;
    return made + kCoarseness >= journal.started &&
           !disk.readStart(folder, name, content.size(), bytes) && bytes.size() < content.size() &&
           content.starts_with(bytes);
}

bool showsUnmarkedPlaceholder(const Journal& journal, const platform::FolderHandle& folder,
                              const Disk& disk, const std::vector<platform::FolderEntry>& entries,
                              const std::string& content) {
    if (journal.placeholders == Mark::Absent)
        return false;
    NameSet stepNames;
    for (const RunStep& step : journal.plan.steps)
        if (step.op == RunStep::Op::Rename)
            stepNames.insert(nameOf(journal.moves, step.b));
    return std::any_of(entries.begin(), entries.end(), [&](const platform::FolderEntry& entry) {
        return stepNames.contains(entry.name) &&
               isUnmarkedPlaceholder(journal, folder, disk, entry.name, content);
    });
}

bool isRunsFile(const Journal& journal, const platform::FolderHandle& folder, const Disk& disk,
                const std::string& name, std::uint64_t identity,
                std::optional<SystemError>& unreadable) {
    platform::EntryStatus status;
    if (statusFails(disk.status(folder, name, status), unreadable) || status.identity != identity)
        return false;
    return status.birth == 0 || journal.started == 0 || status.birth < journal.started;
}

Located locateFiles(const Journal& journal, const platform::FolderHandle& folder, const Disk& disk,
                    const LeftoverProof& proof, const std::vector<platform::FolderEntry>& entries,
                    std::optional<std::size_t> stepsDone, const FilesChecked& checked) {
    if (journal.traits.stableIdentities)
        return byIdentity(journal, folder, disk, proof, entries, checked);
    Located located = byNames(journal, folder, disk, proof, entries, stepsDone);
    if (checked)
        checked(journal.moves.size(), journal.moves.size());
    return located;
}

LeftoverProof proofFor(const Journal& journal, const platform::FileSystemTraits& traits) {
    return {journal_codec::placeholderContent(journal.mark), traits.linkCounts};
}

} // namespace velmorandi
