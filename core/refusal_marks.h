#pragma once

#include "rename_list.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmorandi {

// The entries of a folder that are not its listed files: sub-folders and what
// the listing leaves out. A rename refuses their names as it does a name a
// listed file keeps.
struct FolderNames {
    std::vector<std::string> names;
    bool ignoresCase = false; // names that differ only in letter case are one name there
};

// The rows whose edited names Rename would refuse, found while the names are
// edited: the same rules, with a name taken by a file that stays or by an
// entry beside the files. Rename's own verdicts stay in the rows' statuses.
class RefusalMarks {
  public:
    // Every row of the list checked as it is now.
    void check(const RenameList& list, const FolderNames& folder);
    void clear() { *this = {}; }

    std::size_t rows() const { return m_faults.size(); }
    std::size_t count() const { return m_marked.size(); }
    // None for a row that passes, or beyond the rows checked.
    RowFaults faultsOf(std::size_t row) const {
        return row < m_faults.size() ? m_faults[row] : RowFault::None;
    }
    // Why the row is marked, as reasonsOf tells a refused row.
    std::vector<RowReason> reasonsOf(const RenameList& list, std::size_t row) const;
    // The next marked row after `from`, or before it going backward, wrapping
    // round; from the top (the bottom) without `from`. Nothing when none is marked.
    std::optional<std::size_t> next(std::optional<std::size_t> from, bool backward) const;

  private:
    std::vector<RowFaults> m_faults;
    std::vector<std::uint32_t> m_marked;                       // ascending
    std::unordered_map<std::uint32_t, std::uint32_t> m_sameAs; // a duplicate's other row
};

} // namespace velmorandi
