#include "protected_files.h"

#include "folder_listing.h"
#include "letter_case.h"
#include "paths.h"
#include "platform/folder_access.h"
#include "rename_list.h"

#include <vector>

namespace velmorandi {

const char* const kProtectedFilesWarning =
    "It is not advisable to rename some of the listed files.\r\n\r\n"
    "It may cause serious damages to the operating system of this computer. Renaming these "
    "files may also result undesirable to the execution of the programs that is dependent of "
    "these files.";

std::optional<std::string> systemEnvironment(const char* name) {
    return platform::environmentVariable(name);
}

namespace {

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Splits at ";" and keeps the trimmed, lower-cased, non-empty entries.
void addEntries(std::string_view text, std::vector<std::string>& entries) {
    for (;;) {
        const auto end = text.find(';');
        const std::string_view entry = trimSpaces(text.substr(0, end));
        if (!entry.empty())
            entries.push_back(lowerCase(nativePath(entry)));
        if (end == std::string_view::npos)
            return;
        text.remove_prefix(end + 1);
    }
}

std::vector<std::string> protectedEntries(const EnvironmentLookup& environment) {
    std::vector<std::string> entries;
    for (const char* variable : {"ProgramData", "ProgramFiles", "SystemRoot"})
        addEntries(environment(variable).value_or(std::string()), entries);
    for (const std::string_view folder : platform::systemFolders())
        entries.emplace_back(folder);
    addEntries("autoexec.bat;config.sys;command.com", entries);
    return entries;
}

} // namespace

bool CheckProtectedFiles(std::string_view folder, const RenameList& list,
                         const EnvironmentLookup& environment) {
    if (list.empty())
        return true;
    const std::vector<std::string> entries = protectedEntries(environment);
    // Lowering the folder once is the same as lowering every joined path: the
    // separator between them has no case. An entry inside the folder part hits
    // every row, so each row only searches where its own name takes part. Both
    // sides are written with the platform's separators, however they came in.
    const std::string folderPath = JoinPath(lowerCase(nativePath(folder)), "");
    for (const std::string& entry : entries)
        if (folderPath.find(entry) != std::string::npos)
            return false;
    std::string path = folderPath;
    for (const RenameRow& row : list.rows()) {
        path.resize(folderPath.size());
        appendLowerCase(path, row.editedName);
        for (const std::string& entry : entries) {
            const std::size_t from =
                folderPath.size() >= entry.size() ? folderPath.size() - entry.size() + 1 : 0;
            if (path.find(entry, from) != std::string::npos)
                return false;
        }
    }
    return true;
}

} // namespace velmorandi
