#include "platform/private_folder.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/windows_api.h"

namespace velmorandi::platform {

std::optional<std::string> privateFolder() {
    // The user's temporary folder lies in their profile, which other users cannot enter.
    wchar_t temporary[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temporary);
    if (length == 0 || length > MAX_PATH)
        return std::nullopt;
    std::wstring folder(temporary, length);
    if (folder.back() != L'\\')
        folder.push_back(L'\\');
    folder += L"Velmorandi";
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return std::nullopt;
    // A junction there could lead out of the profile.
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return std::nullopt;
    return narrow(folder);
}

} // namespace velmorandi::platform
