#pragma once

#include "letter_case.h"

#include <deque>
#include <string>
#include <string_view>

namespace velmorandi {

// The key under which the folder compares a name: the name itself, or where
// letter case is ignored its folded form. Keys live as long as this object
// and the names they were made from; nothing is copied where case counts.
class NameKeys {
  public:
    explicit NameKeys(bool ignoresCase) : m_ignoresCase(ignoresCase) {}
    std::string_view operator()(std::string_view name) {
        if (!m_ignoresCase)
            return name;
        return m_folded.emplace_back(foldCase(name));
    }

  private:
    bool m_ignoresCase;
    std::deque<std::string> m_folded;
};

} // namespace velmorandi
