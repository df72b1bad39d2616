#include "platform/system_error.h"

#include "platform/windows/windows_api.h"

namespace velmorandi::platform {

ErrorKind errorKind(const SystemError& error) {
    switch (static_cast<DWORD>(error.code)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ErrorKind::NoSuchEntry;
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
        return ErrorKind::AccessDenied;
    case ERROR_PRIVILEGE_NOT_HELD:
        return ErrorKind::NotPermitted;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ErrorKind::DriveFull;
    case ERROR_WRITE_PROTECT:
        return ErrorKind::ReadOnlyDrive;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_IO_DEVICE:
        return ErrorKind::InputOutput;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return ErrorKind::NameExists;
    case ERROR_DIR_NOT_EMPTY:
        return ErrorKind::FolderNotEmpty;
    case ERROR_NOT_SAME_DEVICE:
        return ErrorKind::OtherDrive;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
        return ErrorKind::NameTooLong;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
        return ErrorKind::InUse;
    case ERROR_SEM_TIMEOUT:
    case ERROR_TIMEOUT:
        return ErrorKind::TimedOut;
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
        return ErrorKind::NotConnected;
    default:
        return ErrorKind::Other;
    }
}

} // namespace velmorandi::platform
