#include "rename_commit.h"

#include "file_mover.h"
#include "folder_loader.h"
#include "name_set.h"
#include "platform/folder_access.h"
#include "rename_list.h"

#include <vector>

namespace velmorandi {

const char* const kRenameRefusedMessage =
    "Could not invoke rename process. Some edited filename conflicts with Microsoft Windows "
    "filenaming conventions.\r\n\r\n"
    "Also check edited filename for no duplicacy and no blank wherever status is marked for "
    "error.";

const char* const kNameTakenMessage =
    "Could not invoke rename process. Some edited filename is already taken by another file or "
    "folder in this folder.\r\n\r\n"
    "Choose another name wherever status is marked for error.";

namespace {

constexpr const char* kParagraph = "\r\n\r\n";

std::string nameList(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 10;
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i)
        text += (i == 0 ? "" : ", ") + names[i];
    if (names.size() > kShown)
        text += " and " + std::to_string(names.size() - kShown) + " more";
    return text;
}

std::string renameFailure(const RenameRow& row, const SystemError& error) {
    return "Could not rename " + row.listedName + " to " + row.editedName + ": " + error.reason;
}

CommitOutcome failed(std::string message) {
    return {CommitOutcome::Kind::Failed, std::move(message), false, false};
}

CommitOutcome folderUnreadable(const std::string& folder, const SystemError& error) {
    return failed("Could not read the folder " + folder + ": " + error.reason + "." + kParagraph +
                  "No file has been renamed. Check that the folder still exists and can be read.");
}

std::vector<std::size_t> changedRows(const RenameList& list) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list.row(i).editedName != list.row(i).listedName)
            changed.push_back(i);
    return changed;
}

// Every entry counts, hidden files and folders included, and so do listed
// files that are themselves about to be renamed: a swap or a chain would
// otherwise need a half-renamed folder on the way.
std::optional<SystemError> markTakenNames(const platform::FolderHandle& folder, RenameList& list,
                                          const std::vector<std::size_t>& changed, bool& anyTaken) {
    std::vector<platform::FolderEntry> entries;
    if (auto error = folder.readEntries(entries, platform::EntryKinds::Unresolved))
        return error;
    NameSet taken(entries.size());
    for (const platform::FolderEntry& entry : entries)
        taken.insert(entry.name);
    anyTaken = false;
    for (const std::size_t index : changed) {
        if (taken.contains(list.row(index).editedName)) {
            list.markError(index);
            anyTaken = true;
        }
    }
    return std::nullopt;
}

struct KeptName {
    std::string listedName;
    std::string currentName;
};

// Gives the files of changed[0 .. done) back their listed names, last first.
std::vector<KeptName> undoMoves(FileMover& mover, const RenameList& list,
                                const std::vector<std::size_t>& changed, std::size_t done) {
    std::vector<KeptName> kept;
    while (done-- > 0) {
        const RenameRow& row = list.row(changed[done]);
        FileMover::Result result = mover.move(row.editedName, row.listedName);
        if (result.error)
            kept.push_back(
                {row.listedName, result.strandedAs.empty() ? row.editedName : result.strandedAs});
    }
    return kept;
}

CommitOutcome reportKeptNames(RenameList& list, const std::string& folder,
                              const std::string& failure, const std::vector<KeptName>& kept) {
    std::vector<std::string> names;
    for (const KeptName& name : kept)
        names.push_back(name.listedName + " is now " + name.currentName);
    CommitOutcome outcome = failed(
        failure + ", and some renamed files could not get their names back: " + nameList(names) +
        "." + kParagraph +
        "These files keep their new names; the list shows the folder as it is now. Check them "
        "before renaming again.");
    const LoadOutcome load = LoadFolder(list, folder);
    outcome.listReloaded = !load.error;
    outcome.protectedFileListed = load.protectedFileListed;
    return outcome;
}

std::vector<std::string> missingNames(const RenameList& list,
                                      const std::vector<std::string>& expected) {
    NameSet present(list.size());
    for (const RenameRow& row : list.rows())
        present.insert(row.listedName);
    std::vector<std::string> missing;
    for (const std::string& name : expected)
        if (!present.contains(name))
            missing.push_back(name);
    return missing;
}

// Reloads, recomposes and marks every row done, then checks that the disk
// really shows every edited name.
CommitOutcome finishCompleted(RenameList& list, const std::string& folder,
                              std::optional<SystemError> syncError) {
    CommitOutcome outcome{CommitOutcome::Kind::Completed, {}, false, false};
    std::vector<std::string> editedNames;
    editedNames.reserve(list.size());
    for (const RenameRow& row : list.rows())
        editedNames.push_back(row.editedName);

    const LoadOutcome load = LoadFolder(list, folder);
    if (load.error) {
        list.MarkAllDone();
        outcome.message = "The files have been renamed, but the folder could not be read again: " +
                          load.error->reason + "." + kParagraph +
                          "Open the folder again to see its files.";
        return outcome;
    }
    outcome.listReloaded = true;
    outcome.protectedFileListed = load.protectedFileListed;
    list.ComposeEditedNames();
    list.MarkAllDone();

    const std::vector<std::string> missing = missingNames(list, editedNames);
    if (!missing.empty()) {
        outcome.message =
            "These edited filenames are not in the folder after renaming: " + nameList(missing) +
            "." + kParagraph +
            "The file system may have changed or ignored them. Check the folder "
            "before renaming again.";
    } else if (syncError) {
        outcome.message = "The files have been renamed, but the new names could not be written "
                          "safely to the drive: " +
                          syncError->reason + "." + kParagraph +
                          "Check the drive before removing it or switching off the computer.";
    }
    return outcome;
}

} // namespace

CommitOutcome CommitRename(RenameList& list, const std::string& folder) {
    return CommitRename(list, folder, RenameSeam());
}

CommitOutcome CommitRename(RenameList& list, const std::string& folder, const RenameSeam& seam) {
    const bool noDuplicates = list.CheckDuplicateNames();
    const bool noBlanks = list.CheckBlankNames();
    if (!noDuplicates || !noBlanks)
        return {CommitOutcome::Kind::Refused, kRenameRefusedMessage, false, false};

    platform::FolderHandle handle;
    if (auto error = handle.open(folder))
        return folderUnreadable(folder, *error);
    const std::vector<std::size_t> changed = changedRows(list);
    bool anyTaken = false;
    if (auto error = markTakenNames(handle, list, changed, anyTaken))
        return folderUnreadable(folder, *error);
    if (anyTaken)
        return {CommitOutcome::Kind::NameTaken, kNameTakenMessage, false, false};

    FileMover mover(handle, seam);
    for (std::size_t done = 0; done < changed.size(); ++done) {
        const RenameRow& row = list.row(changed[done]);
        FileMover::Result result = mover.move(row.listedName, row.editedName);
        if (!result.error)
            continue;
        const std::string failure = renameFailure(row, *result.error);
        std::vector<KeptName> kept = undoMoves(mover, list, changed, done);
        if (!result.strandedAs.empty())
            kept.insert(kept.begin(), {row.listedName, result.strandedAs});
        if (!kept.empty())
            return reportKeptNames(list, folder, failure, kept);
        list.markError(changed[done]);
        return failed(failure + "." + kParagraph +
                      "No file has been renamed. Check that the file still exists and that the "
                      "folder can be written to.");
    }
    return finishCompleted(list, folder, changed.empty() ? std::nullopt : handle.sync());
}

} // namespace velmorandi
