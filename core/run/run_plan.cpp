#include "run/run_plan.h"

#include "letter_case.h"
#include "name_index.h"
#include "run/name_keys.h"

#include <deque>
#include <limits>
#include <unordered_set>

namespace velmorandi {

std::string_view nameOf(const std::vector<PlannedMove>& moves, NameRef ref) {
    const PlannedMove& move = moves[ref.move];
    switch (ref.stage) {
    case Stage::From:
        return move.from;
    case Stage::Temporary:
        return move.temporary;
    case Stage::To:
        break;
    }
    return move.to;
}

RunStep inverseOf(const RunStep& step) {
    if (step.op == RunStep::Op::Exchange)
        return step;
    return {RunStep::Op::Rename, step.b, step.a};
}

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

// successor[i]: the move whose current name move i takes; kNone when its
// target is free, i itself for a change of letter case alone.
std::vector<std::uint32_t> successors(const std::vector<PlannedMove>& moves, bool ignoresCase) {
    NameKeys keyOf(ignoresCase);
    const KeysByPlace sourceKeys(
        moves, [](const PlannedMove& move) { return move.from; }, ignoresCase);
    NameIndex byName(moves.size(), [&](std::uint32_t i) { return sourceKeys(i); });
    byName.assignAll(moves.size());
    return targetsAmongSources(moves, byName, [&](std::string_view to) { return keyOf(to); });
}

// Names that no entry and no target bears, gathered only once one is needed.
// Only a name whose key starts with the prefix's key can meet one.
class TemporaryNames {
  public:
    TemporaryNames(const PlanOptions& options, const std::vector<std::string>& prefixed,
                   const std::vector<PlannedMove>& moves, std::deque<std::string>& names)
        : m_prefix(options.temporaryPrefix), m_ignoresCase(options.ignoresCase),
          m_prefixKey(keyOf(m_prefix)), m_prefixed(prefixed), m_moves(moves), m_names(names) {}
    std::string_view next() {
        if (!m_gathered) {
            m_gathered = true;
            for (const std::string& name : m_prefixed)
                rememberIfPrefixed(name);
            for (const PlannedMove& move : m_moves)
                rememberIfPrefixed(move.to);
        }
        for (;;) {
            m_names.push_back(m_prefix + std::to_string(++m_count));
            if (m_used.insert(keyOf(m_names.back())).second)
                return m_names.back();
        }
    }

  private:
    std::string keyOf(std::string_view name) const {
        return m_ignoresCase ? foldCase(name) : std::string(name);
    }
    void rememberIfPrefixed(std::string_view name) {
        if (!m_ignoresCase) {
            if (name.starts_with(m_prefix))
                m_used.emplace(name);
            return;
        }
        std::string key = foldCase(name);
        if (key.starts_with(m_prefixKey))
            m_used.insert(std::move(key));
    }

    std::string m_prefix;
    bool m_ignoresCase;
    std::string m_prefixKey;
    const std::vector<std::string>& m_prefixed;
    const std::vector<PlannedMove>& m_moves;
    std::deque<std::string>& m_names;
    std::unordered_set<std::string> m_used;
    bool m_gathered = false;
    unsigned m_count = 0;
};

// Three phases: files parked under temporary names, then every move whose
// target is free, then the parked files. Keeping the phases apart also lets
// recovery tell how far a run got from the names alone.
struct Phases {
    std::vector<RunStep> parking;
    std::vector<RunStep> moving;
    std::vector<RunStep> closing;
};

RunStep rename(std::uint32_t move, Stage from, Stage to) {
    return {RunStep::Op::Rename, {move, from}, {move, to}};
}

// `chain` is scratch space, reused: most chains are one file long.
void addChain(std::uint32_t head, const std::vector<std::uint32_t>& next,
              std::vector<bool>& visited, std::vector<std::uint32_t>& chain, Phases& phases) {
    chain.clear();
    for (std::uint32_t i = head; i != kNone; i = next[i]) {
        chain.push_back(i);
        visited[i] = true;
    }
    // The last file's target is free; each earlier one frees the next target.
    for (auto i = chain.rbegin(); i != chain.rend(); ++i)
        phases.moving.push_back(rename(*i, Stage::From, Stage::To));
}

bool exactRing(const std::vector<PlannedMove>& moves, const std::vector<std::uint32_t>& cycle) {
    for (std::size_t i = 0; i < cycle.size(); ++i)
        if (moves[cycle[i]].to != moves[cycle[(i + 1) % cycle.size()]].from)
            return false;
    return true;
}

void addCycle(const std::vector<std::uint32_t>& cycle, std::vector<PlannedMove>& moves,
              const PlanOptions& options, TemporaryNames& temporaries, Phases& phases) {
    // Swapping the first name with each other name in turn gives every file its
    // target; only where the names match exactly, as letter case may differ.
    if (options.exchange && cycle.size() > 1 && exactRing(moves, cycle)) {
        for (std::size_t i = 1; i < cycle.size(); ++i)
            phases.moving.push_back(
                {RunStep::Op::Exchange, {cycle[0], Stage::From}, {cycle[i], Stage::From}});
        return;
    }
    const std::uint32_t parked = cycle.back();
    moves[parked].temporary = temporaries.next();
    phases.parking.push_back(rename(parked, Stage::From, Stage::Temporary));
    for (std::size_t i = cycle.size() - 1; i-- > 0;)
        phases.moving.push_back(rename(cycle[i], Stage::From, Stage::To));
    phases.closing.push_back(rename(parked, Stage::Temporary, Stage::To));
}

} // namespace

RunPlan buildPlan(std::vector<PlannedMove>& moves, const PlanOptions& options,
                  const std::vector<std::string>& prefixed,
                  std::vector<std::uint32_t> successorsKnown) {
    const std::vector<std::uint32_t> next = successorsKnown.size() == moves.size()
                                                ? std::move(successorsKnown)
                                                : successors(moves, options.ignoresCase);
    std::vector<bool> targeted(moves.size(), false);
    for (std::uint32_t i = 0; i < moves.size(); ++i)
        if (next[i] != kNone && next[i] != i)
            targeted[next[i]] = true;

    Phases phases;
    phases.moving.reserve(moves.size()); // a move takes one of these steps at most
    std::vector<bool> visited(moves.size(), false);
    std::vector<std::uint32_t> files; // one chain or cycle at a time
    for (std::uint32_t i = 0; i < moves.size(); ++i)
        if (!targeted[i] && next[i] != i)
            addChain(i, next, visited, files, phases);

    RunPlan plan;
    TemporaryNames temporaries(options, prefixed, moves, plan.temporaryNames);
    for (std::uint32_t i = 0; i < moves.size(); ++i) {
        if (visited[i])
            continue;
        files.clear();
        for (std::uint32_t j = i; !visited[j]; j = next[j]) {
            files.push_back(j);
            visited[j] = true;
        }
        addCycle(files, moves, options, temporaries, phases);
    }

    // Mostly nothing is parked: then the moving steps are the plan, not copied.
    if (phases.parking.empty()) {
        plan.steps = std::move(phases.moving);
    } else {
        plan.steps = std::move(phases.parking);
        plan.steps.insert(plan.steps.end(), phases.moving.begin(), phases.moving.end());
    }
    plan.firstClosingStep = plan.steps.size();
    plan.steps.insert(plan.steps.end(), phases.closing.begin(), phases.closing.end());
    return plan;
}

} // namespace velmorandi
