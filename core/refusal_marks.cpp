#include "refusal_marks.h"

#include "letter_case.h"
#include "name_index.h"
#include "platform/text_services.h"
#include "platform/utf8.h"
#include "text_offsets.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace velmorandi {

namespace {

// Names folded as a drive that ignores letter case compares them, in one text.
class FoldedNames {
  public:
    template <class NameOf> FoldedNames(std::size_t count, NameOf nameOf) {
        m_starts.reserve(count + 1);
        for (std::uint32_t i = 0; i < count; ++i) {
            m_starts.push_back(m_text.size());
            // As foldCase, without a string of its own for every name.
            const std::string_view name = nameOf(i);
            if (isAscii(name) || !isValidUtf8(name))
                appendLowerAscii(m_text, name);
            else
                platform::appendFoldedCase(m_text, name);
        }
        m_starts.push_back(m_text.size());
    }
    std::string_view operator()(std::uint32_t i) const {
        return std::string_view(m_text).substr(m_starts[i], m_starts[i + 1] - m_starts[i]);
    }

  private:
    std::string m_text;
    TextOffsets m_starts;
};

struct Clashes {
    std::vector<RowFaults>& faults;
    std::unordered_map<std::uint32_t, std::uint32_t>& sameAs;
};

// Two rows taking part under one name (a row that keeps its name included),
// and a changed name that an entry beside the files holds. `rows` are the
// rows taking part.
template <class NameKey, class BesideKey>
void findClashes(const RenameList& list, std::span<const std::uint32_t> rows, NameKey editedKey,
                 std::size_t besideCount, BesideKey besideKey, Clashes found) {
    NameIndex byEdited(rows.size(), [&](std::uint32_t place) { return editedKey(rows[place]); });
    std::vector<std::uint32_t> firsts(rows.size());
    byEdited.insertAll(firsts);
    for (std::uint32_t place = 0; place < rows.size(); ++place) {
        if (firsts[place] == place)
            continue;
        const std::uint32_t i = rows[place];
        const std::uint32_t first = rows[firsts[place]];
        found.faults[i] |= RowFault::Duplicate;
        found.faults[first] |= RowFault::Duplicate;
        found.sameAs.emplace(i, first);
        found.sameAs.emplace(first, i);
    }
    if (besideCount == 0)
        return;
    NameIndex beside(besideCount, besideKey);
    beside.assignAll(besideCount);
    for (const std::uint32_t i : rows) {
        const RenameRow row = list.row(i);
        if (row.editedName() != row.listedName() && beside.find(editedKey(i)) != beside.kNone)
            found.faults[i] |= RowFault::TakenOnDisk;
    }
}

} // namespace

void RefusalMarks::check(const RenameList& list, const FolderNames& folder) {
    *this = {};
    m_faults.assign(list.size(), RowFault::None);
    // A row left out is no rename, but its file stays under its name: for the
    // others it is one more entry beside the files.
    const std::vector<std::uint32_t> taking = list.rowsTakingPart();
    const std::vector<std::uint32_t> kept = list.rowsLeftOut();
    const std::size_t besideCount = folder.names.size() + kept.size();
    const auto edited = [&list](std::uint32_t i) { return list.row(i).editedName(); };
    const auto besideName = [&](std::uint32_t i) {
        return i < folder.names.size() ? std::string_view(folder.names[i])
                                       : list.row(kept[i - folder.names.size()]).listedName();
    };
    const Clashes found{m_faults, m_sameAs};
    if (folder.ignoresCase) {
        const FoldedNames editedKeys(list.size(), edited);
        const FoldedNames besideKeys(besideCount, besideName);
        findClashes(
            list, taking, [&](std::uint32_t i) { return editedKeys(i); }, besideCount,
            [&](std::uint32_t i) { return besideKeys(i); }, found);
    } else {
        findClashes(list, taking, edited, besideCount, besideName, found);
    }
    for (const std::uint32_t i : taking)
        m_faults[i] |= list.nameFaults(i);
    for (std::size_t i = 0; i < m_faults.size(); ++i)
        if (m_faults[i] != RowFault::None)
            m_marked.push_back(static_cast<std::uint32_t>(i));
}

std::vector<RowReason> RefusalMarks::reasonsOf(const RenameList& list, std::size_t row) const {
    const auto other = m_sameAs.find(static_cast<std::uint32_t>(row));
    return list.reasonsFor(row, faultsOf(row), other == m_sameAs.end() ? row : other->second);
}

std::optional<std::size_t> RefusalMarks::next(std::optional<std::size_t> from,
                                              bool backward) const {
    if (m_marked.empty())
        return std::nullopt;
    if (!backward) {
        const auto after =
            from ? std::upper_bound(m_marked.begin(), m_marked.end(), *from) : m_marked.begin();
        return after == m_marked.end() ? m_marked.front() : *after;
    }
    const auto at =
        from ? std::lower_bound(m_marked.begin(), m_marked.end(), *from) : m_marked.end();
    return at == m_marked.begin() ? m_marked.back() : *(at - 1);
}

} // namespace velmorandi
