#pragma once

#include <string>

namespace velmorandi {

// A failure reported by the operating system: its code and its own sentence,
// in English whatever the user's language.
struct SystemError {
    int code = 0;
    std::string reason;
};

// What a failure means, for the errors common enough that the window words
// them in the user's language; Other for the rest, told by their reason alone.
enum class ErrorKind {
    Other,
    NoSuchEntry,
    AccessDenied,
    NotPermitted,
    DriveFull,
    ReadOnlyDrive,
    InputOutput,
    NameExists,
    FolderNotEmpty,
    OtherDrive,
    NameTooLong,
    InUse,
    TimedOut,
    NotConnected,
};

namespace platform {

// The system's codes for each kind: errno values on Linux, Win32 error codes on Windows.
ErrorKind errorKind(const SystemError& error);

} // namespace platform

} // namespace velmorandi
