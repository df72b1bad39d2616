#pragma once

#include "run/run_plan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmorandi {

// Which file bears which name as steps are applied, without touching the disk.
class NameTracker {
  public:
    explicit NameTracker(const std::vector<PlannedMove>& moves);
    void apply(const RunStep& step);
    // The move whose file bears the name, if any does.
    std::optional<std::uint32_t> holder(const std::string& name) const;
    // Every file's present name, by move.
    std::vector<std::string> currentNames() const;

  private:
    const std::vector<PlannedMove>& m_moves;
    std::unordered_map<std::string, std::uint32_t> m_holders;
};

} // namespace velmorandi
