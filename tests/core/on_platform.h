#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include "platform/windows/wide_text.h"
#endif

// What the tests expect of the operating system they run on.
namespace velmorandi::testing {

#ifdef _WIN32
inline constexpr int kNoSuchEntry = 2;        // ERROR_FILE_NOT_FOUND
inline constexpr int kNotAFolder = 267;       // ERROR_DIRECTORY
inline constexpr int kNameTakenCode = 183;    // ERROR_ALREADY_EXISTS
inline constexpr int kInUseCode = 32;         // ERROR_SHARING_VIOLATION
inline constexpr bool kSymbolicLinks = false; // need a privilege on Windows
// A name that takes more than ASCII to say: an accent and a surrogate pair.
inline const std::string kUnusualName = "caf\xC3\xA9\xF0\x9F\x98\x80";
#define VELMORANDI_LINUX_ONLY(why) GTEST_SKIP() << "Linux only: " << why
// Where the run journals are kept.
inline constexpr const char* kStateVariable = "LOCALAPPDATA";
inline void setEnvironmentVariable(const std::string& name, const std::string& value) {
    ::_wputenv(platform::widen(name + "=" + value).c_str());
}
#else
inline constexpr int kNoSuchEntry = ENOENT;
inline constexpr int kNotAFolder = ENOTDIR;
inline constexpr int kNameTakenCode = EEXIST;
inline constexpr int kInUseCode = EBUSY;
inline constexpr bool kSymbolicLinks = true;
// A name no UTF-8 can say: Latin-1 bytes, which Linux holds.
inline const std::string kUnusualName = "caf\xE9";
#define VELMORANDI_LINUX_ONLY(why) static_cast<void>(0)
inline constexpr const char* kStateVariable = "XDG_STATE_HOME";
inline void setEnvironmentVariable(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}
#endif

} // namespace velmorandi::testing
