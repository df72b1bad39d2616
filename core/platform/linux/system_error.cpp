#include "platform/system_error.h"

#include <cerrno>

namespace velmorandi::platform {

ErrorKind errorKind(const SystemError& error) {
    switch (error.code) {
    case ENOENT:
        return ErrorKind::NoSuchEntry;
    case EACCES:
        return ErrorKind::AccessDenied;
    case EPERM:
        return ErrorKind::NotPermitted;
    case ENOSPC:
    case EDQUOT:
        return ErrorKind::DriveFull;
    case EROFS:
        return ErrorKind::ReadOnlyDrive;
    case EIO:
        return ErrorKind::InputOutput;
    case EEXIST:
        return ErrorKind::NameExists;
    case ENOTEMPTY:
        return ErrorKind::FolderNotEmpty;
    case EXDEV:
        return ErrorKind::OtherDrive;
    case ENAMETOOLONG:
        return ErrorKind::NameTooLong;
    case EBUSY:
    case ETXTBSY:
        return ErrorKind::InUse;
    case ETIMEDOUT:
        return ErrorKind::TimedOut;
    case ENOTCONN:
    case ENODEV:
    case ENXIO:
    case ESTALE:
        return ErrorKind::NotConnected;
    default:
        return ErrorKind::Other;
    }
}

} // namespace velmorandi::platform
