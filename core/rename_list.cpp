#include "rename_list.h"

#include "file_name_rules.h"
#include "name_index.h"

#include <algorithm>
#include <functional>

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

void RenameList::load(const std::vector<std::string>& listedNames, NameLimit nameLimit) {
    const std::vector<std::string_view> views(listedNames.begin(), listedNames.end());
    loadViews(views, nameLimit);
}

void RenameList::loadViews(std::span<const std::string_view> listedNames, NameLimit nameLimit) {
    m_nameLimit = nameLimit;
    std::size_t bytes = 0;
    for (const std::string_view name : listedNames)
        bytes += name.size();
    std::string text;
    text.reserve(bytes);
    std::vector<Row> rows(listedNames.size());
    for (std::size_t i = 0; i < listedNames.size(); ++i) {
        const std::string_view name = listedNames[i];
        const auto dot = name.rfind('.');
        Row& row = rows[i];
        row.listed = row.edited = text.size();
        row.listedSize = static_cast<std::uint32_t>(name.size());
        row.lastDot = dot == std::string_view::npos ? kNoDot : static_cast<std::uint32_t>(dot);
        row.editedBaseSize = dot == std::string_view::npos ? row.listedSize : row.lastDot;
        text.append(name);
    }
    m_rows = std::move(rows);
    m_listedText = std::move(text);
    m_editedText = std::string();
    m_editedIsListed = true;
    ++m_generation;
}

RenameList::EditedText::EditedText(RenameList& list) : m_list(list) {
    m_text.reserve(list.editedText().size() + list.size() * 4);
    m_baseSizes.reserve(list.size());
}

void RenameList::EditedText::add(std::size_t index, std::string_view base) {
    const RenameRow row = m_list.row(index);
    m_baseSizes.push_back(static_cast<std::uint32_t>(base.size()));
    m_text.append(base);
    if (row.hasLastDot()) {
        m_text += '.';
        m_text.append(row.extension());
    }
}

// Rows are moved to the new text only now: a rewrite may still read any row's
// old edited name while it runs.
void RenameList::EditedText::commit() {
    std::uint64_t offset = 0;
    for (std::size_t i = 0; i < m_list.m_rows.size(); ++i) {
        Row& row = m_list.m_rows[i];
        row.edited = offset;
        row.editedBaseSize = m_baseSizes[i];
        offset += m_list.editedSize(row);
    }
    m_text.shrink_to_fit();
    m_list.m_editedText = std::move(m_text);
    m_list.m_editedIsListed = false;
    ++m_list.m_generation;
}

void RenameList::ComposeEditedNames() {
    for (Row& row : m_rows) {
        row.status = RowStatus::None;
        row.faults = RowFault::None;
    }
}

bool RenameList::CheckDuplicateNames() {
    // An index of the edited names: a row whose name is already in it shares
    // that name with the first row that bears it.
    NameIndex byName(m_rows.size(), [this](std::uint32_t i) { return row(i).editedName(); });
    std::vector<std::uint32_t> firsts(m_rows.size());
    byName.insertAll(firsts);
    bool passed = true;
    for (std::uint32_t i = 0; i < m_rows.size(); ++i) {
        const std::uint32_t first = firsts[i];
        if (first != i) {
            markError(first, RowFault::Duplicate);
            markError(i, RowFault::Duplicate);
            passed = false;
        }
    }
    return passed;
}

bool RenameList::CheckBlankNames() {
    // Only changed names meet the platform's rules: a name the folder already
    // holds is one its file system holds.
    const auto faultsOf = [this](const RenameRow& row) {
        const std::string_view name = row.editedName();
        if (name.empty())
            return RowFault::Blank;
        if (name.front() == '.')
            return RowFault::LeadingDot;
        if (name == row.listedName())
            return RowFault::None;
        if (!fitsPlatformFileName(name))
            return RowFault::NotAllowed;
        return fitsNameLimit(name, m_nameLimit) ? RowFault::None : RowFault::TooLong;
    };
    bool passed = true;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (const RowFaults faults = faultsOf(row(i)); faults != RowFault::None) {
            markError(i, faults);
            passed = false;
        }
    }
    return passed;
}

void RenameList::MarkAllDone() {
    for (Row& row : m_rows) {
        row.status = RowStatus::Done;
        row.faults = RowFault::None;
    }
}

void RenameList::Blank() {
    rewriteEditedBases([](std::string_view, std::size_t) { return std::string_view(); });
    ComposeEditedNames();
}

void RenameList::Reset() {
    rewriteEditedBases([this](std::string_view, std::size_t index) {
        const std::string_view base = row(index).originalBase();
        const auto firstKept = base.find_first_not_of(' ');
        return firstKept == std::string_view::npos ? std::string_view() : base.substr(firstKept);
    });
    ComposeEditedNames();
}

void RenameList::adoptEditedNames(std::span<const std::uint32_t> order) {
    std::vector<std::string_view> names;
    names.reserve(order.size());
    for (const std::uint32_t index : order)
        names.push_back(row(index).editedName());
    // Safe: the load reads every name before it replaces the texts they lie in.
    loadViews(names, m_nameLimit);
    MarkAllDone();
}

EditedBases RenameList::editedBases() const {
    EditedBases bases;
    bases.m_asListed = m_editedIsListed;
    if (m_editedIsListed)
        return bases;
    std::size_t bytes = 0;
    for (const Row& row : m_rows)
        bytes += row.editedBaseSize;
    bases.m_text.reserve(bytes);
    bases.m_sizes.reserve(m_rows.size());
    for (const RenameRow current : rows()) {
        const std::string_view base = current.editedBase();
        bases.m_text.append(base);
        bases.m_sizes.push_back(static_cast<std::uint32_t>(base.size()));
    }
    return bases;
}

bool RenameList::hasEditedBases(const EditedBases& bases) const {
    if (bases.m_asListed && m_editedIsListed)
        return true;
    if (!bases.m_asListed && bases.m_sizes.size() != m_rows.size())
        return false;
    std::size_t offset = 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
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

void RenameList::restoreEditedBases(const EditedBases& bases) {
    if (bases.m_asListed) {
        for (Row& row : m_rows) {
            row.edited = row.listed;
            row.editedBaseSize = row.lastDot == kNoDot ? row.listedSize : row.lastDot;
        }
        m_editedText = std::string();
        m_editedIsListed = true;
    } else if (bases.m_sizes.size() == m_rows.size()) {
        std::size_t offset = 0;
        rewriteEditedBases([&](std::string_view, std::size_t index) {
            const std::string_view base =
                std::string_view(bases.m_text).substr(offset, bases.m_sizes[index]);
            offset += base.size();
            return base;
        });
    }
    ComposeEditedNames();
}

std::vector<std::uint32_t> RenameList::placesIn(const RenameList& before) const {
    std::vector<std::uint32_t> places(m_rows.size(), kNotListed);
    const auto sameName = [&](std::size_t i) {
        return row(i).listedName() == before.row(i).listedName();
    };
    std::size_t same = 0;
    while (same < m_rows.size() && same < before.size() && sameName(same)) {
        places[same] = static_cast<std::uint32_t>(same);
        ++same;
    }
    if (same == m_rows.size())
        return places;
    NameIndex byName(before.size(),
                     [&before](std::uint32_t i) { return before.row(i).listedName(); });
    byName.assignAll(before.size());
    for (std::size_t i = same; i < m_rows.size(); ++i)
        places[i] = byName.find(row(i).listedName()); // kNone is kNotListed
    return places;
}

EditedBases RenameList::basesFrom(const EditedBases& before,
                                  std::span<const std::uint32_t> places) const {
    // Rows listed again under the same name have the same original base.
    if (before.m_asListed)
        return EditedBases();
    std::vector<std::uint64_t> starts(before.m_sizes.size() + 1, 0);
    for (std::size_t i = 0; i < before.m_sizes.size(); ++i)
        starts[i + 1] = starts[i] + before.m_sizes[i];
    EditedBases bases;
    bases.m_asListed = false;
    bases.m_sizes.reserve(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
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

} // namespace velmorandi
