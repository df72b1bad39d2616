#pragma once

#include "file_name_rules.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmorandi {

enum class RowStatus { None, Error, Done };

// "", "Err!" or "Done": the only texts the status column ever shows.
std::string_view statusText(RowStatus status);

// One listed file. The serial number is the row's position and is not stored.
struct RenameRow {
    std::string listedName;   // exact bytes as the folder listing gave them
    std::string originalBase; // listed name before its last dot
    std::string extension;    // listed name after its last dot, without the dot
    std::string editedBase;   // the only part the edit operations rewrite
    std::string editedName;   // derived: editedBase + "." + extension
    RowStatus status = RowStatus::None;

    // A listed name ending in a dot keeps it: on most systems it is part of the name.
    bool hasLastDot() const { return listedName.size() != originalBase.size(); }
};

// Splits a file name at its last dot; the dot belongs to neither part.
struct NameParts {
    std::string base;
    std::string extension;
};
NameParts splitAtLastDot(std::string_view name);

// Decimal row number of the 0-based index, as the "S#" column shows it.
std::string serialText(std::size_t index);

// The rename grid and its hidden working table, kept as one row record per file.
class RenameList {
public:
    // Replaces every row; edited names start as the listed names, statuses empty.
    // nameLimit belongs to the folder the names were listed from.
    void load(std::vector<std::string> listedNames, NameLimit nameLimit = {});
    NameLimit nameLimit() const { return m_nameLimit; }

    std::size_t size() const { return m_rows.size(); }
    bool empty() const { return m_rows.empty(); }
    const RenameRow& row(std::size_t index) const { return m_rows[index]; }
    std::span<const RenameRow> rows() const { return m_rows; }

    // Rewrites every edited base name; rewrite(base, index) returns the new base.
    template <class Rewrite> void rewriteEditedBases(Rewrite&& rewrite) {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            m_rows[i].editedBase = rewrite(std::as_const(m_rows[i].editedBase), i);
    }

    void ComposeEditedNames();
    bool CheckDuplicateNames();
    // Empty names and names beginning with a dot, then changed names that the
    // platform or the folder's file system cannot hold.
    bool CheckBlankNames();
    void MarkAllDone();
    void markError(std::size_t index) { m_rows[index].status = RowStatus::Error; }
    // Edited base names become "" (Blank) or the original base without leading spaces (Reset).
    void Blank();
    void Reset();

private:
    std::vector<RenameRow> m_rows;
    NameLimit m_nameLimit;
};

} // namespace velmorandi
