#include "rename_list.h"

#include "file_name_rules.h"

#include <algorithm>
#include <functional>

namespace velmorandi {

std::string_view statusText(RowStatus status) {
    switch (status) {
    case RowStatus::Error:
        return "Err!";
    case RowStatus::Done:
        return "Done";
    case RowStatus::None:
        break;
    }
    return "";
}

NameParts splitAtLastDot(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {std::string(name), {}};
    return {std::string(name.substr(0, dot)), std::string(name.substr(dot + 1))};
}

std::string serialText(std::size_t index) { return std::to_string(index + 1); }

void RenameList::load(std::vector<std::string> listedNames, NameLimit nameLimit) {
    m_nameLimit = nameLimit;
    m_rows.clear();
    m_rows.reserve(listedNames.size());
    for (auto& name : listedNames) {
        auto parts = splitAtLastDot(name);
        RenameRow row;
        row.editedBase = parts.base;
        row.originalBase = std::move(parts.base);
        row.extension = std::move(parts.extension);
        row.editedName = name;
        row.listedName = std::move(name);
        m_rows.push_back(std::move(row));
    }
}

void RenameList::ComposeEditedNames() {
    for (auto& row : m_rows) {
        row.editedName.assign(row.editedBase);
        if (row.hasLastDot()) {
            row.editedName += '.';
            row.editedName += row.extension;
        }
        row.status = RowStatus::None;
    }
}

bool RenameList::CheckDuplicateNames() {
    // Sorting (hash, row) pairs finds every shared name in N log N with cache-friendly
    // keys; names are compared only where hashes meet.
    struct Key {
        std::size_t hash;
        std::size_t row;
    };
    std::vector<Key> keys;
    keys.reserve(m_rows.size());
    const std::hash<std::string_view> hasher;
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        keys.push_back({hasher(m_rows[i].editedName), i});
    std::sort(keys.begin(), keys.end(), [this](const Key& a, const Key& b) {
        if (a.hash != b.hash)
            return a.hash < b.hash;
        return m_rows[a.row].editedName < m_rows[b.row].editedName;
    });
    bool passed = true;
    for (std::size_t i = 1; i < keys.size(); ++i) {
        auto& previous = m_rows[keys[i - 1].row];
        auto& current = m_rows[keys[i].row];
        if (keys[i - 1].hash == keys[i].hash && previous.editedName == current.editedName) {
            previous.status = RowStatus::Error;
            current.status = RowStatus::Error;
            passed = false;
        }
    }
    return passed;
}

bool RenameList::CheckBlankNames() {
    // Only changed names meet the platform's rules: a name the folder already
    // holds is one its file system holds.
    const auto unholdable = [this](const RenameRow& row) {
        return row.editedName != row.listedName &&
               (!fitsPlatformFileName(row.editedName) ||
                !fitsNameLimit(row.editedName, m_nameLimit));
    };
    bool passed = true;
    for (auto& row : m_rows) {
        const std::string_view name = row.editedName;
        if (name.empty() || name.front() == '.' || unholdable(row)) {
            row.status = RowStatus::Error;
            passed = false;
        }
    }
    return passed;
}

void RenameList::MarkAllDone() {
    for (auto& row : m_rows)
        row.status = RowStatus::Done;
}

void RenameList::Blank() {
    for (auto& row : m_rows)
        row.editedBase.clear();
    ComposeEditedNames();
}

void RenameList::Reset() {
    for (auto& row : m_rows) {
        const auto firstKept = row.originalBase.find_first_not_of(' ');
        row.editedBase = firstKept == std::string::npos ? std::string{}
                                                        : row.originalBase.substr(firstKept);
    }
    ComposeEditedNames();
}

} // namespace velmorandi
