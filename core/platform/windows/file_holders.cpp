#include "platform/file_holders.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/win32_file.h"

#include <restartmanager.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace velmorandi::platform {
namespace {

// The Restart Manager's DLL, loaded from the system's own folder only when a
// file is held: most runs never need it, and a copy beside the program is not asked.
class RestartManager {
  public:
    RestartManager()
        : m_module(::LoadLibraryExW(L"rstrtmgr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        if (m_module == nullptr)
            return;
        start = function<decltype(&::RmStartSession)>("RmStartSession");
        end = function<decltype(&::RmEndSession)>("RmEndSession");
        registerFiles = function<decltype(&::RmRegisterResources)>("RmRegisterResources");
        list = function<decltype(&::RmGetList)>("RmGetList");
    }
    ~RestartManager() {
        if (m_module != nullptr)
            ::FreeLibrary(m_module);
    }
    RestartManager(const RestartManager&) = delete;
    RestartManager& operator=(const RestartManager&) = delete;
    bool usable() const { return start && end && registerFiles && list; }

    decltype(&::RmStartSession) start = nullptr;
    decltype(&::RmEndSession) end = nullptr;
    decltype(&::RmRegisterResources) registerFiles = nullptr;
    decltype(&::RmGetList) list = nullptr;

  private:
    template <class Function> Function function(const char* name) const {
        return reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(::GetProcAddress(m_module, name)));
    }
    HMODULE m_module;
};

// The Restart Manager is given the path as a user would write it.
std::wstring plainPath(const FolderHandle& folder, const std::string& name) {
    std::wstring path = joinWide(folder.path(), name);
    if (path.starts_with(L"\\\\?\\UNC\\"))
        return L"\\\\" + path.substr(8);
    if (path.starts_with(L"\\\\?\\"))
        return path.substr(4);
    return path;
}

// The processes listed, asked again while the list grows between two calls.
std::vector<RM_PROCESS_INFO> listProcesses(const RestartManager& manager, DWORD session) {
    std::vector<RM_PROCESS_INFO> processes;
    for (int tries = 0; tries < 3; ++tries) {
        UINT needed = 0;
        UINT count = static_cast<UINT>(processes.size());
        DWORD reasons = 0;
        const DWORD code = manager.list(session, &needed, &count, processes.data(), &reasons);
        if (code == ERROR_SUCCESS) {
            processes.resize(count);
            return processes;
        }
        if (code != ERROR_MORE_DATA)
            break;
        processes.resize(needed);
    }
    return {};
}

} // namespace

std::vector<std::string> programsHolding(const FolderHandle& folder, const std::string& name) {
    const RestartManager manager;
    if (!manager.usable())
        return {};
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (manager.start(&session, 0, key) != ERROR_SUCCESS)
        return {};
    const std::wstring path = plainPath(folder, name);
    LPCWSTR files[] = {path.c_str()};
    std::vector<RM_PROCESS_INFO> processes;
    if (manager.registerFiles(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS)
        processes = listProcesses(manager, session);
    manager.end(session);

    std::vector<std::string> programs;
    for (const RM_PROCESS_INFO& process : processes) {
        std::string program = narrow(std::wstring_view(
            process.strAppName, ::wcsnlen(process.strAppName, std::size(process.strAppName))));
        if (process.Process.dwProcessId == ::GetCurrentProcessId() || program.empty() ||
            std::find(programs.begin(), programs.end(), program) != programs.end())
            continue;
        programs.push_back(std::move(program));
    }
    return programs;
}

} // namespace velmorandi::platform
