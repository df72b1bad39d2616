#include "rename_list.h"

#include "file_name_rules.h"
#include "name_index.h"
#include "platform/prefetch.h"

#include <algorithm>
#include <functional>
#include <ranges>

namespace velmorandi {

NameParts splitAtLastDot(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {std::string(name), {}};
    return {std::string(name.substr(0, dot)), std::string(name.substr(dot + 1))};
}

std::string serialText(std::size_t index) {
    return std::to_string(index + 1);
}

RenameList::~RenameList() {
    m_lending.refuseWhileLent("destroyed");
}

void RenameList::load(const std::vector<std::string>& listedNames, NameLimit nameLimit) {
    const std::vector<std::string_view> views(listedNames.begin(), listedNames.end());
    loadViews(views, nameLimit);
}

void RenameList::loadViews(std::span<const std::string_view> listedNames, NameLimit nameLimit) {
    m_lending.refuseWhileLent("loaded");
    m_nameLimit = nameLimit;
    std::size_t bytes = 0;
    for (const std::string_view name : listedNames)
        bytes += name.size();
    std::string text;
    text.reserve(bytes);
    TextOffsets starts;
    starts.reserve(listedNames.size() + 1);
    // The names may lie anywhere: each is asked for a few names ahead.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < listedNames.size(); ++i) {
        if (i + kAhead < listedNames.size())
            platform::prefetch(listedNames[i + kAhead].data());
        starts.push_back(text.size());
        text.append(listedNames[i]);
    }
    starts.push_back(text.size());
    m_marks.assign(listedNames.size(), Mark{});
    m_listedStarts = std::move(starts);
    m_listedText = std::move(text);
    m_editedStarts = {};
    m_editedText = std::string();
    m_editedIsListed = true;
    m_order = {};
    m_nameRanks = {};
    m_facts = {};
    ++m_generation;
}

RenameList::EditedText::EditedText(RenameList& list) : m_list(list) {
    list.m_lending.refuseWhileLent("rewritten");
    m_text.reserve(list.editedText().size() + list.size() * 4);
    m_starts.reserve(list.size() + 1);
}

void RenameList::EditedText::add(std::string_view base, std::string_view tail) {
    m_starts.push_back(m_text.size());
    m_text.append(base);
    m_text.append(tail);
}

// Rows are moved to the new text only now: a rewrite may still read any row's
// old edited name while it runs.
void RenameList::EditedText::commit() {
    m_starts.push_back(m_text.size());
    // Room left over from the estimate goes back where it is worth a copy.
    if (m_text.capacity() - m_text.size() > m_text.size() / 8)
        m_text.shrink_to_fit();
    m_list.m_editedStarts = std::move(m_starts);
    m_list.m_editedText = std::move(m_text);
    m_list.m_editedIsListed = false;
    ++m_list.m_generation;
}

void RenameList::ComposeEditedNames() {
    m_lending.refuseWhileLent("ComposeEditedNames");
    for (Mark& mark : m_marks)
        mark = Mark{.leftOut = mark.leftOut};
}

std::vector<std::uint32_t> RenameList::rowsWhere(bool leftOut) const {
    std::vector<std::uint32_t> rows;
    // Most rows take part; the few left out are kept in every step of the history.
    if (!leftOut)
        rows.reserve(size());
    for (std::uint32_t i = 0; i < size(); ++i)
        if (m_marks[i].leftOut == leftOut)
            rows.push_back(i);
    return rows;
}

void RenameList::leaveOut(std::span<const std::size_t> rows, bool out) {
    m_lending.refuseWhileLent("leaveOut");
    for (const std::size_t index : rows)
        if (index < size())
            m_marks[index].leftOut = out;
    // Rows left out get their listed names back; the others keep theirs.
    rewriteEditedBases([](std::string_view base, std::size_t) { return base; });
    ComposeEditedNames();
}

bool RenameList::CheckDuplicateNames() {
    m_lending.refuseWhileLent("CheckDuplicateNames");
    // An index of the edited names of the rows taking part: a row whose name
    // is already in it shares that name with the first row that bears it. A
    // row left out stays under its name, which the run finds taken on disk.
    const std::vector<std::uint32_t> taking = rowsTakingPart();
    NameIndex byName(taking.size(),
                     [&](std::uint32_t place) { return row(taking[place]).editedName(); });
    std::vector<std::uint32_t> firsts(taking.size());
    byName.insertAll(firsts);
    bool passed = true;
    for (std::uint32_t place = 0; place < taking.size(); ++place) {
        const std::uint32_t first = firsts[place];
        if (first != place) {
            markError(taking[first], RowFault::Duplicate);
            markError(taking[place], RowFault::Duplicate);
            passed = false;
        }
    }
    return passed;
}

// Only changed names meet the system's rules: a name the folder already holds
// is one its file system holds.
NameCheck RenameList::checkEditedName(const RenameRow& row) const {
    const std::string_view name = row.editedName();
    if (name.empty())
        return NameFault::Empty;
    if (name.front() == '.')
        return NameFault::LeadingDot;
    if (name == row.listedName())
        return {};
    NameCheck check = checkPlatformFileName(name);
    if (check.fault == NameFault::None && !fitsNameLimit(name, m_nameLimit))
        check.fault = NameFault::TooLong;
    return check;
}

RowFaults RenameList::nameFaults(std::size_t index) const {
    switch (checkEditedName(row(index)).fault) {
    case NameFault::None:
        return RowFault::None;
    case NameFault::Empty:
        return RowFault::Blank;
    case NameFault::LeadingDot:
        return RowFault::LeadingDot;
    case NameFault::TooLong:
        return RowFault::TooLong;
    default:
        return RowFault::NotAllowed;
    }
}

bool RenameList::CheckBlankNames() {
    m_lending.refuseWhileLent("CheckBlankNames");
    bool passed = true;
    for (std::size_t i = 0; i < size(); ++i) {
        if (m_marks[i].leftOut)
            continue;
        if (const RowFaults fault = nameFaults(i); fault != RowFault::None) {
            markError(i, fault);
            passed = false;
        }
    }
    return passed;
}

// The first other row with the same edited name; the row itself where none is left.
std::size_t RenameList::otherRowNamed(std::size_t index) const {
    const std::string_view name = row(index).editedName();
    for (std::size_t i = 0; i < size(); ++i)
        if (i != index && !m_marks[i].leftOut && row(i).editedName() == name)
            return i;
    return index;
}

std::vector<RowReason> RenameList::reasonsOf(std::size_t index) const {
    const RowFaults faults = index < size() ? m_marks[index].faults : RowFault::None;
    // The names are as they were checked: any change of a name clears the marks.
    const std::size_t sameAs = (faults & RowFault::Duplicate) != 0 ? otherRowNamed(index) : index;
    return reasonsFor(index, faults, sameAs);
}

std::vector<RowReason> RenameList::reasonsFor(std::size_t index, RowFaults faults,
                                              std::size_t sameAs) const {
    std::vector<RowReason> reasons;
    if (index >= size())
        return reasons;
    for (unsigned bit = 0; bit < 8; ++bit) {
        const auto fault = static_cast<RowFaults>(1u << bit);
        if ((faults & fault) == 0)
            continue;
        RowReason reason(fault);
        if (fault == RowFault::Duplicate)
            reason.sameAs = sameAs;
        else if (fault != RowFault::TakenOnDisk && fault != RowFault::Gone)
            reason.name = checkEditedName(row(index));
        reasons.push_back(std::move(reason));
    }
    return reasons;
}

void RenameList::MarkAllDone() {
    m_lending.refuseWhileLent("MarkAllDone");
    m_marks.assign(m_marks.size(), Mark{RowStatus::Done, RowFault::None});
}

void RenameList::Blank() {
    m_lending.refuseWhileLent("Blank");
    rewriteEditedBases([](std::string_view, std::size_t) { return std::string_view(); });
    ComposeEditedNames();
}

void RenameList::Reset() {
    m_lending.refuseWhileLent("Reset");
    for (Mark& mark : m_marks)
        mark.leftOut = false;
    rewriteEditedBases([this](std::string_view, std::size_t index) {
        const std::string_view base = row(index).originalBase();
        const auto firstKept = base.find_first_not_of(' ');
        return firstKept == std::string_view::npos ? std::string_view() : base.substr(firstKept);
    });
    ComposeEditedNames();
}

bool RenameList::setEditedName(std::size_t index, std::string_view name) {
    m_lending.refuseWhileLent("setEditedName");
    if (index >= size() || m_marks[index].leftOut)
        return false;
    const std::string_view tail = dotAndExtension(index);
    if (!name.ends_with(tail))
        return false;
    const std::string_view base = name.substr(0, name.size() - tail.size());
    rewriteEditedBases(
        [&](std::string_view edited, std::size_t row) { return row == index ? base : edited; });
    ComposeEditedNames();
    return true;
}

void RenameList::adoptEditedNames(std::span<const std::uint32_t> order) {
    m_lending.refuseWhileLent("adoptEditedNames");
    // A row left out was not renamed: it shows no "Done", and takes part again.
    std::vector<Mark> marks(order.size(), Mark{RowStatus::Done, RowFault::None});
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] < size() && m_marks[order[i]].leftOut)
            marks[i].status = RowStatus::None;
    const bool sameOrder =
        order.size() == size() &&
        std::ranges::equal(order, std::views::iota(std::uint32_t{0}, order.size()));
    if (sameOrder) {
        // The edited names as they lie become the listed names: nothing is copied.
        if (!m_editedIsListed) {
            m_listedText = std::move(m_editedText);
            m_listedStarts = std::move(m_editedStarts);
        }
    } else {
        std::string text;
        text.reserve(editedText().size());
        TextOffsets starts;
        starts.reserve(order.size() + 1);
        for (const std::uint32_t index : order) {
            starts.push_back(text.size());
            text.append(row(index).editedName());
        }
        starts.push_back(text.size());
        m_listedText = std::move(text);
        m_listedStarts = std::move(starts);
        permuteRowData(order);
    }
    m_marks = std::move(marks);
    m_editedText = std::string();
    m_editedStarts = {};
    m_editedIsListed = true;
    // The new names came in name order; the caller puts the rows back in its own.
    m_order = {};
    m_nameRanks = {};
    ++m_generation;
}

namespace {

template <class Row>
std::vector<Row> permuted(const std::vector<Row>& rows, std::span<const std::uint32_t> order) {
    std::vector<Row> moved;
    moved.reserve(order.size());
    for (const std::uint32_t from : order)
        moved.push_back(rows[from]);
    return moved;
}

// The names of one text in the rows' new order.
void permuteText(std::string& text, TextOffsets& starts, std::span<const std::uint32_t> order) {
    std::string moved;
    moved.reserve(text.size());
    TextOffsets movedStarts;
    movedStarts.reserve(order.size() + 1);
    for (const std::uint32_t from : order) {
        movedStarts.push_back(moved.size());
        moved.append(text, starts[from], starts[from + 1] - starts[from]);
    }
    movedStarts.push_back(moved.size());
    text = std::move(moved);
    starts = std::move(movedStarts);
}

} // namespace

// The one place where rows move: whatever a row holds besides its names moves here.
void RenameList::permuteRowData(std::span<const std::uint32_t> rows) {
    m_marks = permuted(m_marks, rows);
    if (!m_facts.empty())
        m_facts = permuted(m_facts, rows);
    if (m_nameRanks.empty()) {
        m_nameRanks.reserve(rows.size());
        m_nameRanks.assign(rows.begin(), rows.end());
    } else {
        m_nameRanks = permuted(m_nameRanks, rows);
    }
    // Back in name order, the ranks are the positions again.
    if (std::ranges::equal(m_nameRanks,
                           std::views::iota(std::uint32_t{0}, std::uint32_t(m_nameRanks.size()))))
        m_nameRanks = {};
}

void RenameList::setFileFacts(std::vector<platform::FileFacts> facts) {
    m_lending.refuseWhileLent("setFileFacts");
    if (facts.size() == size())
        m_facts = std::move(facts);
}

void RenameList::reorder(std::span<const std::uint32_t> rows, RowOrder order) {
    m_lending.refuseWhileLent("reorder");
    if (rows.size() != size())
        return;
    permuteText(m_listedText, m_listedStarts, rows);
    if (!m_editedIsListed)
        permuteText(m_editedText, m_editedStarts, rows);
    permuteRowData(rows);
    m_order = order;
    ++m_generation;
}

EditedBases RenameList::editedBases() const {
    EditedBases bases;
    bases.m_asListed = m_editedIsListed;
    bases.m_leftOut = rowsLeftOut();
    if (m_editedIsListed)
        return bases;
    std::size_t bytes = 0;
    for (const RenameRow current : rows())
        bytes += current.editedBase().size();
    bases.m_text.reserve(bytes);
    bases.m_sizes.reserve(size());
    for (const RenameRow current : rows()) {
        const std::string_view base = current.editedBase();
        bases.m_text.append(base);
        bases.m_sizes.push_back(static_cast<std::uint32_t>(base.size()));
    }
    return bases;
}

bool RenameList::hasEditedBases(const EditedBases& bases) const {
    if (bases.m_leftOut != rowsLeftOut())
        return false;
    if (bases.m_asListed && m_editedIsListed)
        return true;
    if (!bases.m_asListed && bases.m_sizes.size() != size())
        return false;
    std::size_t offset = 0;
    for (std::size_t i = 0; i < size(); ++i) {
        const RenameRow current = row(i);
        std::string_view kept = current.originalBase();
        if (!bases.m_asListed) {
            kept = std::string_view(bases.m_text).substr(offset, bases.m_sizes[i]);
            offset += bases.m_sizes[i];
        }
        if (current.editedBase() != kept)
            return false;
    }
    return true;
}

void RenameList::restoreLeftOut(const EditedBases& bases) {
    for (Mark& mark : m_marks)
        mark.leftOut = false;
    for (const std::uint32_t index : bases.m_leftOut)
        if (index < size())
            m_marks[index].leftOut = true;
}

void RenameList::restoreEditedBases(const EditedBases& bases) {
    m_lending.refuseWhileLent("restoreEditedBases");
    restoreLeftOut(bases);
    if (bases.m_asListed) {
        m_editedText = std::string();
        m_editedStarts = {};
        m_editedIsListed = true;
    } else if (bases.m_sizes.size() == size()) {
        std::size_t offset = 0;
        rewriteBases(
            [&](std::string_view, std::size_t index) {
                const std::string_view base =
                    std::string_view(bases.m_text).substr(offset, bases.m_sizes[index]);
                offset += base.size();
                return base;
            },
            false);
    }
    ComposeEditedNames();
}

std::vector<std::uint32_t> RenameList::placesIn(const RenameList& before) const {
    std::vector<std::uint32_t> places(size(), kNotListed);
    const auto sameName = [&](std::size_t i) {
        return row(i).listedName() == before.row(i).listedName();
    };
    std::size_t same = 0;
    while (same < size() && same < before.size() && sameName(same)) {
        places[same] = static_cast<std::uint32_t>(same);
        ++same;
    }
    if (same == size())
        return places;
    NameIndex byName(before.size(),
                     [&before](std::uint32_t i) { return before.row(i).listedName(); });
    byName.assignAll(before.size());
    for (std::size_t i = same; i < size(); ++i)
        places[i] = byName.find(row(i).listedName()); // kNone is kNotListed
    return places;
}

EditedBases RenameList::basesFrom(const EditedBases& before,
                                  std::span<const std::uint32_t> places) const {
    EditedBases bases;
    bases.m_leftOut = leftOutFrom(before, places);
    // Rows listed again under the same name have the same original base.
    if (before.m_asListed)
        return bases;
    std::vector<std::uint64_t> starts(before.m_sizes.size() + 1, 0);
    for (std::size_t i = 0; i < before.m_sizes.size(); ++i)
        starts[i + 1] = starts[i] + before.m_sizes[i];
    bases.m_asListed = false;
    bases.m_sizes.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) {
        const std::uint32_t place = places[i];
        const std::string_view base =
            place < before.m_sizes.size()
                ? std::string_view(before.m_text).substr(starts[place], before.m_sizes[place])
                : row(i).originalBase();
        bases.m_text.append(base);
        bases.m_sizes.push_back(static_cast<std::uint32_t>(base.size()));
    }
    return bases;
}

std::vector<std::uint32_t> RenameList::leftOutFrom(const EditedBases& before,
                                                   std::span<const std::uint32_t> places) const {
    std::vector<std::uint32_t> rows;
    if (before.m_leftOut.empty())
        return rows;
    for (std::uint32_t i = 0; i < size(); ++i)
        if (std::ranges::binary_search(before.m_leftOut, places[i]))
            rows.push_back(i);
    return rows;
}

} // namespace velmorandi
