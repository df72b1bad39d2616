#include "file_mover.h"

#include "letter_case.h"

#include <chrono>
#include <cstdio>

namespace velmorandi {

FileMover::FileMover(const platform::FolderHandle& folder, const RenameSeam& seam)
    : m_systemRename([&folder](const std::string& from, const std::string& to) {
          return folder.renameNoReplace(from, to);
      }),
      m_seam(seam) {
    // Only a likely-unique start: each use is a no-replace rename that retries on a clash.
    const auto clock = std::chrono::steady_clock::now().time_since_epoch().count();
    char prefix[40];
    std::snprintf(prefix, sizeof prefix, ".velmorandi-%08x-", static_cast<unsigned>(clock));
    m_temporaryPrefix = prefix;
}

std::optional<SystemError> FileMover::renameOnce(const std::string& from, const std::string& to) {
    return m_seam ? m_seam(from, to, m_systemRename) : m_systemRename(from, to);
}

FileMover::Result FileMover::move(const std::string& from, const std::string& to) {
    std::optional<SystemError> error = renameOnce(from, to);
    // Where letter case is ignored the new name "exists" because it is this very
    // file; inode numbers cannot tell, FUSE gives each case variant its own.
    // The commit has made sure the exact new name is no other entry of the folder.
    if (error && platform::meansNameTaken(*error) && differOnlyInCase(from, to))
        return moveThroughTemporaryName(from, to, *error);
    return {std::move(error), {}};
}

FileMover::Result FileMover::moveThroughTemporaryName(const std::string& from,
                                                      const std::string& to,
                                                      const SystemError& directError) {
    constexpr int kAttempts = 8;
    std::string temporary;
    for (int attempt = 0;; ++attempt) {
        temporary = nextTemporaryName();
        std::optional<SystemError> error = renameOnce(from, temporary);
        if (!error)
            break;
        if (!platform::meansNameTaken(*error))
            return {std::move(error), {}};
        if (attempt + 1 == kAttempts)
            return {directError, {}};
    }
    std::optional<SystemError> error = renameOnce(temporary, to);
    if (!error)
        return {};
    if (renameOnce(temporary, from))
        return {std::move(error), temporary};
    return {std::move(error), {}};
}

std::string FileMover::nextTemporaryName() {
    return m_temporaryPrefix + std::to_string(++m_temporaryCount);
}

} // namespace velmorandi
