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

} // namespace velmorandi::platform
