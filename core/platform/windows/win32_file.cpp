#include "platform/windows/win32_file.h"

#include "platform/windows/wide_text.h"

namespace velmorandi::platform {

SystemError errorFrom(DWORD code) {
    // In English, as the message around it is worded apart; a system without
    // its English texts gives the number alone.
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::string reason =
        length ? narrow(std::wstring_view(buffer, length)) : "Error " + std::to_string(code);
    ::LocalFree(buffer);
    // The system's sentences end in ".\r\n"; the messages add their own full stop.
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return {static_cast<int>(code), reason};
}

std::wstring joinWide(const std::string& folder, const std::string& name) {
    std::wstring path = widen(folder);
    if (path.empty() || path.back() != L'\\')
        path.push_back(L'\\');
    path += widen(name);
    return path;
}

} // namespace velmorandi::platform
