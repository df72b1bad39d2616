#include "protected_files.h"

#include "folder_listing.h"
#include "letter_case.h"
#include "paths.h"
#include "platform/folder_access.h"
#include "rename_list.h"

#include <vector>

namespace velmorandi {

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

// Entries that count anywhere in the lower-case path.
std::vector<std::string> protectedEntries(const EnvironmentLookup& environment) {
    std::vector<std::string> entries;
    for (const char* variable : {"ProgramData", "ProgramFiles", "SystemRoot"})
        addEntries(environment(variable).value_or(std::string()), entries);
    addEntries("autoexec.bat;config.sys;command.com", entries);
    return entries;
}

// What the folder part of every path decides, worked out once per load.
struct FolderPart {
    bool protectedAlready = false;
    // An entry that begins inside the folder part and runs on into the file
    // name: the row is protected when its lower-case name begins with the rest.
    std::vector<std::string> nameBeginnings;
};

FolderPart readFolderPart(std::string_view folderPath, const std::vector<std::string>& entries) {
    FolderPart part;
    // The operating system's own folders count only where the path begins.
    for (const std::string_view systemFolder : platform::systemFolders())
        part.protectedAlready |= folderPath.starts_with(systemFolder);
    for (const std::string& entry : entries) {
        part.protectedAlready |= folderPath.find(entry) != std::string_view::npos;
        for (std::size_t inFolder = 1; inFolder < entry.size() && inFolder <= folderPath.size();
             ++inFolder)
            if (folderPath.ends_with(std::string_view(entry).substr(0, inFolder)))
                part.nameBeginnings.push_back(entry.substr(inFolder));
    }
    return part;
}

bool nameProtected(std::string_view loweredName, const FolderPart& folder,
                   const std::vector<std::string>& entries) {
    if (folder.protectedAlready)
        return true;
    for (const std::string& entry : entries)
        if (loweredName.find(entry) != std::string_view::npos)
            return true;
    for (const std::string& beginning : folder.nameBeginnings)
        if (loweredName.starts_with(beginning))
            return true;
    return false;
}

} // namespace

bool CheckProtectedFiles(std::string_view folder, const RenameList& list,
                         const EnvironmentLookup& environment) {
    if (list.empty())
        return true;
    const std::vector<std::string> entries = protectedEntries(environment);
    // A path is lowered as one text, and one byte that is not UTF-8 anywhere in
    // it leaves all but its ASCII letters as they are, folder part included. So
    // the folder part is read once for each way, and each row takes the way its
    // whole path would take. The separator has no case and ends every context a
    // lowering looks at, so the parts lower on their own as they do together.
    // Written with the platform's separators, as the entries are, however it came in.
    const std::string native = nativePath(folder);
    std::string lowered;
    appendLowerCase(lowered, native);
    const FolderPart unicodeFolder = readFolderPart(JoinPath(lowered, ""), entries);
    lowered.clear();
    appendLowerAscii(lowered, native);
    const FolderPart asciiFolder = readFolderPart(JoinPath(lowered, ""), entries);
    const bool folderIsUtf8 = isValidUtf8(native);
    const bool folderIsAscii = isAscii(native);

    std::string name;
    for (const RenameRow& row : list.rows()) {
        name.clear();
        if (folderIsUtf8)
            appendLowerCase(name, row.editedName()); // lowers ASCII only when the name is not UTF-8
        else
            appendLowerAscii(name, row.editedName());
        // An ASCII folder part lowers the same both ways.
        const bool unicodePath = folderIsAscii || (folderIsUtf8 && isValidUtf8(row.editedName()));
        if (nameProtected(name, unicodePath ? unicodeFolder : asciiFolder, entries))
            return false;
    }
    return true;
}

} // namespace velmorandi
