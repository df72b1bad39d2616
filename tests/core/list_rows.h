#pragma once

#include "rename_list.h"

#include <string>
#include <vector>

// What a test reads off a rename list: its columns as the grid shows them.
namespace velmorandi::testing {

inline std::vector<std::string> editedNames(const RenameList& list) {
    std::vector<std::string> names;
    for (const RenameRow row : list.rows())
        names.emplace_back(row.editedName());
    return names;
}

inline std::vector<std::string> listedNames(const RenameList& list) {
    std::vector<std::string> names;
    for (const RenameRow row : list.rows())
        names.emplace_back(row.listedName());
    return names;
}

// "", "Err!" or "Done" for each row, as the grid shows them.
inline std::vector<std::string> statuses(const RenameList& list) {
    std::vector<std::string> texts;
    for (const RenameRow row : list.rows())
        texts.emplace_back(row.status() == RowStatus::Error  ? "Err!"
                           : row.status() == RowStatus::Done ? "Done"
                                                             : "");
    return texts;
}

} // namespace velmorandi::testing
