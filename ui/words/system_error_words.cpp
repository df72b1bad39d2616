#include "words/system_error_words.h"

#include <QCoreApplication>

namespace velmorandi::words {

namespace {

constexpr const char* kContext = "SystemErrors";

// Only ever shown translated: in English the system's own text serves.
const char* source(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::NoSuchEntry:
        return QT_TRANSLATE_NOOP("SystemErrors", "No such file or folder");
    case ErrorKind::AccessDenied:
        return QT_TRANSLATE_NOOP("SystemErrors", "Permission denied");
    case ErrorKind::NotPermitted:
        return QT_TRANSLATE_NOOP("SystemErrors", "Operation not permitted");
    case ErrorKind::DriveFull:
        return QT_TRANSLATE_NOOP("SystemErrors", "No space left on the drive");
    case ErrorKind::ReadOnlyDrive:
        return QT_TRANSLATE_NOOP("SystemErrors", "The drive is read-only");
    case ErrorKind::InputOutput:
        return QT_TRANSLATE_NOOP("SystemErrors", "The drive could not be read or written");
    case ErrorKind::NameExists:
        return QT_TRANSLATE_NOOP("SystemErrors", "A file or folder of that name exists");
    case ErrorKind::FolderNotEmpty:
        return QT_TRANSLATE_NOOP("SystemErrors", "The folder is not empty");
    case ErrorKind::OtherDrive:
        return QT_TRANSLATE_NOOP("SystemErrors", "The name would move it to another drive");
    case ErrorKind::NameTooLong:
        return QT_TRANSLATE_NOOP("SystemErrors", "The name is too long");
    case ErrorKind::InUse:
        return QT_TRANSLATE_NOOP("SystemErrors", "The file is in use");
    case ErrorKind::TimedOut:
        return QT_TRANSLATE_NOOP("SystemErrors", "The drive did not answer in time");
    case ErrorKind::NotConnected:
        return QT_TRANSLATE_NOOP("SystemErrors", "The drive is not connected");
    case ErrorKind::Other:
        break;
    }
    return nullptr;
}

} // namespace

ErrorWording::ErrorWording(const SystemError& error)
    : m_error(QString::fromStdString(error.reason)) {
    const char* words = source(platform::errorKind(error));
    if (words == nullptr)
        return;
    // Untranslated, the text comes back as it went in.
    const QString translated = QCoreApplication::translate(kContext, words);
    if (translated == QLatin1String(words))
        return;
    m_inEnglish = false;
    m_error = translated;
}

QString ErrorWording::text(const char* context, const char* source) const {
    return m_inEnglish ? QString::fromUtf8(source) : QCoreApplication::translate(context, source);
}

} // namespace velmorandi::words
