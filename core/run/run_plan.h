#pragma once

#include "run/move_name.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// One file of a run as the engine carries it out and journals it. The names
// lie elsewhere (the rename list, the journal read back, the plan's temporary
// names): a copy of three names per file was the run's largest cost in memory.
struct PlannedMove {
    MoveName from;      // its name before the run
    MoveName to;        // its name after the run
    MoveName temporary; // set when it passes through a temporary name
    std::uint64_t identity = 0;
    std::size_t row = 0; // rename-list row, for the "Err!" mark
};

// Names are referred to through the move they belong to, so a step is a few
// bytes in the journal whatever the names' length.
enum class Stage : std::uint8_t { From = 0, Temporary = 1, To = 2 };
struct NameRef {
    std::uint32_t move = 0;
    Stage stage = Stage::From;
};

// A rename that never replaces a file (a to b), or an atomic swap of a and b.
struct RunStep {
    enum class Op : std::uint8_t { Rename = 0, Exchange = 1 };
    Op op = Op::Rename;
    NameRef a;
    NameRef b;
};

std::string_view nameOf(const std::vector<PlannedMove>& moves, NameRef ref);
// The step that takes a done step back.
RunStep inverseOf(const RunStep& step);

struct RunPlan {
    std::vector<RunStep> steps;
    // Steps from here on give the files parked under temporary names their
    // new names; steps.size() when none is parked.
    std::size_t firstClosingStep = 0;
    // Where the moves' temporary names lie.
    std::deque<std::string> temporaryNames;
};

struct PlanOptions {
    bool ignoresCase = false;
    bool exchange = false; // swap cycles atomically instead of parking one file
    std::string temporaryPrefix;
};

// For each move, the place in `bySource`, a NameIndex of the moves' sources,
// of the move whose source is its target; `keyOf` turns a target into the
// index's key. Looked up a batch at a time (NameIndex::findAll).
template <class Index, class KeyOf>
std::vector<std::uint32_t> targetsAmongSources(const std::vector<PlannedMove>& moves,
                                               const Index& bySource, KeyOf&& keyOf) {
    std::vector<std::uint32_t> next(moves.size());
    std::vector<std::string_view> targets;
    constexpr std::size_t kBatch = 1024;
    for (std::size_t begin = 0; begin < moves.size(); begin += kBatch) {
        const std::size_t end = std::min(moves.size(), begin + kBatch);
        targets.clear();
        for (std::size_t i = begin; i < end; ++i)
            targets.push_back(keyOf(moves[i].to));
        bySource.findAll(targets, std::span(next).subspan(begin, end - begin));
    }
    return next;
}

// Orders the moves so that every target is free when its turn comes; sets the
// moves' temporary names. Expects targets that no other entry holds and no two
// moves sharing a target (see preflight.h); `prefixed` is the folder's names
// that start with the temporary prefix (Preflight::prefixed), for temporary
// names that collide with no entry. `successors` is Preflight::successors,
// made here where it is empty.
RunPlan buildPlan(std::vector<PlannedMove>& moves, const PlanOptions& options,
                  const std::vector<std::string>& prefixed,
                  std::vector<std::uint32_t> successors = {});

} // namespace velmorandi
