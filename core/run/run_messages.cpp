#include "run/run_messages.h"

#include "platform/text_services.h"

namespace velmorandi::messages {
namespace {

constexpr const char* kParagraph = "\r\n\r\n";

std::string files(std::size_t count) {
    return platform::formatCount(count) + (count == 1 ? " file" : " files");
}

} // namespace

std::string nameList(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 10;
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i)
        text += (i == 0 ? "" : ", ") + names[i];
    if (names.size() > kShown)
        text += " and " + platform::formatCount(names.size() - kShown) + " more";
    return text;
}

std::string folderUnreadable(const std::string& folder, const SystemError& error) {
    return "Could not read the folder " + folder + ": " + error.reason + "." + kParagraph +
           "No file has been renamed. Check that the folder still exists and can be read.";
}

std::string renameFailure(const std::string& from, const std::string& to,
                          const SystemError& error) {
    return "Could not rename " + from + " to " + to + ": " + error.reason;
}

std::string noFileRenamed(const std::string& failure) {
    return failure + "." + kParagraph +
           "No file has been renamed. Check that the file still exists and that the folder can "
           "be written to.";
}

std::string keptNames(const std::string& failure, const std::vector<std::string>& kept) {
    return failure + ", and some renamed files could not get their names back: " +
           nameList(kept) + "." + kParagraph +
           "These files keep their new names; the list shows the folder as it is now. Check them "
           "before renaming again.";
}

std::string journalUnwritable(const std::string& folder, const SystemError& error) {
    return "Could not write the record of this rename to " + folder + ": " + error.reason + "." +
           kParagraph +
           "No file has been renamed. Check that your home folder can be written to and that its "
           "drive is not full.";
}

std::string cancelled() {
    return std::string("The rename has been cancelled. No file has been renamed.") + kParagraph +
           "Click Rename to start it again.";
}

std::string syncFailed(const SystemError& error) {
    return "The files have been renamed, but the new names could not be written safely to the "
           "drive: " +
           error.reason + "." + kParagraph +
           "Check the drive before removing it or switching off the computer.";
}

std::string missingAfterRun(const std::vector<std::string>& missing) {
    return "These edited filenames are not in the folder after renaming: " + nameList(missing) +
           "." + kParagraph +
           "The file system may have changed or ignored them. Check the folder before renaming "
           "again.";
}

std::string reloadFailed(const SystemError& error) {
    return "The files have been renamed, but the folder could not be read again: " +
           error.reason + ". The list has been emptied, so that no file is renamed from an old "
           "name." + kParagraph + "Open the folder again to see its files.";
}

std::string nothingToUndo(const std::string& folder) {
    return "There is no rename to undo in the folder " + folder + "." + kParagraph +
           "Only the last rename of a folder can be undone, and only once.";
}

std::string undoFileGone(const std::string& folder, const std::string& name) {
    return "Could not undo the last rename in " + folder + ": " + name +
           " is no longer in the folder." + kParagraph +
           "No file has been renamed. Undo works only while every renamed file keeps its new "
           "name.";
}

std::string undoFileReplaced(const std::string& folder, const std::string& name,
                             const std::string& oldName) {
    return "Could not undo the last rename in " + folder + ": " + name +
           " is now another file than the one renamed from " + oldName + "." + kParagraph +
           "No file has been renamed. Undo works only while every renamed file keeps its new "
           "name.";
}

std::string undoNameTaken(const std::string& folder, const std::string& oldName) {
    return "Could not undo the last rename in " + folder + ": the old name " + oldName +
           " is now taken by another file or folder." + kParagraph +
           "No file has been renamed. Rename or move that entry, then undo again.";
}

std::string recovered(const std::string& folder, std::size_t restored,
                      const std::vector<std::string>& notRestored) {
    std::string text = "A rename in " + folder + " was interrupted; ";
    if (restored == 0 && notRestored.empty())
        text += "it had not renamed any file yet.";
    else
        text += files(restored) + (restored == 1 ? " got its name back." : " got their names back.");
    if (!notRestored.empty())
        text += " These files could not get their names back: " + nameList(notRestored) + ".";
    return text;
}

std::string recoveryFolderGone(const std::string& folder, const SystemError& error, bool kept) {
    return "A rename in " + folder + " was interrupted, and the folder cannot be reached: " +
           error.reason + "." +
           (kept ? " Its files get their names back the next time Velmorandi starts while the "
                   "folder can be reached."
                 : " Its files keep the names they had at the interruption.");
}

std::string recoveryReport(const std::vector<std::string>& sentences, bool anyNotRestored) {
    std::string text;
    for (const std::string& sentence : sentences)
        text += (text.empty() ? "" : "\r\n") + sentence;
    return text + kParagraph +
           (anyNotRestored ? "Check these files before renaming in that folder again."
                           : "Every file of that rename has its old name again; rename them "
                             "again whenever you are ready.");
}

} // namespace velmorandi::messages
