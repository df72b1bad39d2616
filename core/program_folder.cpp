#include "program_folder.h"

#include "platform/folder_access.h"
#include "platform/program_arguments.h"

#include <optional>

namespace velmorandi {

namespace {

std::optional<platform::FileIdentity> identityOf(const std::string& path) {
    platform::FolderHandle handle;
    platform::FileIdentity identity;
    if (path.empty() || handle.open(path) || platform::folderIdentity(handle, identity) ||
        identity.inode == 0)
        return std::nullopt;
    return identity;
}

} // namespace

// Asked afresh each time: the program's file may have been moved since it started.
bool isProgramFolder(const platform::FileIdentity& folder) {
    const std::optional<platform::FileIdentity> program = identityOf(platform::programFolder());
    return program && program->device == folder.device && program->inode == folder.inode;
}

bool isProgramFolder(const std::string& folderPath) {
    const std::optional<platform::FileIdentity> folder = identityOf(folderPath);
    return folder && isProgramFolder(*folder);
}

} // namespace velmorandi
