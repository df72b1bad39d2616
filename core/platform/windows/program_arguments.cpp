#include "platform/program_arguments.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/windows_api.h"

#include <shellapi.h>

#include <algorithm>

namespace velmorandi::platform {

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

std::string programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
    const auto separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return {};
    // A drive's root keeps its separator: "C:" alone is the drive's current folder.
    const bool root = separator > 0 && path[separator - 1] == L':';
    return narrow(path.substr(0, separator + (root ? 1 : 0)));
}

} // namespace velmorandi::platform
