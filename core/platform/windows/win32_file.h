#pragma once

#include "platform/system_error.h"

#include "platform/windows/windows_api.h"

#include <cstdint>
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

// A search of FindFirstFileExW, closed with it.
class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : m_handle(handle) {}
    ~FindHandle() {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::FindClose(m_handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return m_handle; }

  private:
    HANDLE m_handle;
};

// Windows counts time in 100-nanosecond steps from 1601; the program in
// nanoseconds from 1970. 0 stays 0: not known.
inline std::int64_t nanosecondsSince1970(std::int64_t windowsTime) {
    constexpr std::int64_t kFrom1601To1970 = 116444736000000000LL;
    return windowsTime == 0 ? 0 : (windowsTime - kFrom1601To1970) * 100;
}

// folder + "\" + name, as UTF-16.
std::wstring joinWide(const std::string& folder, const std::string& name);

} // namespace velmorandi::platform
