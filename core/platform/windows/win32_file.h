#pragma once

#include "platform/system_error.h"

#include "platform/windows/windows_api.h"

#include <string>

// What the Windows file code shares: the system's own sentence for an error
// code, a handle that closes itself, and paths built from WTF-8 names.
namespace velmorandi::platform {

SystemError errorFrom(DWORD code);

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }

  private:
    HANDLE m_handle;
};

// folder + "\" + name, as UTF-16.
std::wstring joinWide(const std::string& folder, const std::string& name);

} // namespace velmorandi::platform
