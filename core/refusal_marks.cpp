#include "refusal_marks.h"

#include "letter_case.h"
#include "name_index.h"
#include "platform/text_services.h"
#include "platform/utf8.h"
#include "text_offsets.h"

#include <algorithm>
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

// Two rows under one name (a row that keeps its name included), and a
// changed name that an entry beside the files holds.
template <class NameKey, class BesideKey>
void findClashes(const RenameList& list, NameKey editedKey, std::size_t besideCount,
                 BesideKey besideKey, Clashes found) {
    const std::size_t count = list.size();
    NameIndex byEdited(count, editedKey);
    std::vector<std::uint32_t> firsts(count);
    byEdited.insertAll(firsts);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t first = firsts[i];
        if (first == i)
            continue;
        found.faults[i] |= RowFault::Duplicate;
        found.faults[first] |= RowFault::Duplicate;
        found.sameAs.emplace(i, first);
        found.sameAs.emplace(first, i);
    }
    if (besideCount == 0)
        return;
    NameIndex beside(besideCount, besideKey);
    beside.assignAll(besideCount);
    for (std::uint32_t i = 0; i < count; ++i) {
        const RenameRow row = list.row(i);
        if (row.editedName() != row.listedName() && beside.find(editedKey(i)) != beside.kNone)
            found.faults[i] |= RowFault::TakenOnDisk;
    }
}

} // namespace

void RefusalMarks::check(const RenameList& list, const FolderNames& folder) {
    *this = {};
    m_faults.assign(list.size(), RowFault::None);
    const auto edited = [&list](std::uint32_t i) { return list.row(i).editedName(); };
    const auto besideName = [&folder](std::uint32_t i) {
        return std::string_view(folder.names[i]);
    };
    const Clashes found{m_faults, m_sameAs};
    if (folder.ignoresCase) {
        const FoldedNames editedKeys(list.size(), edited);
        const FoldedNames besideKeys(folder.names.size(), besideName);
        findClashes(
            list, [&](std::uint32_t i) { return editedKeys(i); }, folder.names.size(),
            [&](std::uint32_t i) { return besideKeys(i); }, found);
    } else {
        findClashes(list, edited, folder.names.size(), besideName, found);
    }
    for (std::size_t i = 0; i < list.size(); ++i)
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
