#include "platform/file_facts.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

namespace velmorandi::platform {

// Every entry of a listing comes with its size and times.
bool listingCarriesFacts() {
    return true;
}

FileFacts factsOf(const FolderHandle& folder, std::string_view name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    const std::wstring path = joinWide(folder.path(), std::string(name));
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {};
    ULARGE_INTEGER written;
    written.LowPart = data.ftLastWriteTime.dwLowDateTime;
    written.HighPart = data.ftLastWriteTime.dwHighDateTime;
    const std::uint64_t size =
        (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return {nanosecondsSince1970(static_cast<std::int64_t>(written.QuadPart)), size};
}

} // namespace velmorandi::platform
