#include "start_words.h"

#include "version.h"

#include <QCoreApplication>

namespace velmorandi::words {

namespace {

class Start {
    Q_DECLARE_TR_FUNCTIONS(Start)
};

// The argument's bytes in place of %1, untouched by any text conversion.
QByteArray withArgument(const QString& text, const std::string& argument) {
    QByteArray bytes = text.toLocal8Bit();
    if (const qsizetype at = bytes.indexOf("%1"); at >= 0)
        bytes.replace(at, 2, QByteArray::fromStdString(argument));
    return bytes;
}

QString mistakeText(CommandLine::Mistake mistake) {
    switch (mistake) {
    case CommandLine::Mistake::InvalidOption:
        return Start::tr("invalid option -- '%1'");
    case CommandLine::Mistake::UnrecognizedOption:
        return Start::tr("unrecognized option '%1'");
    case CommandLine::Mistake::MissingArgument:
        return Start::tr("option '%1' requires an argument");
    case CommandLine::Mistake::UnwantedArgument:
        return Start::tr("option '%1' doesn't allow an argument");
    case CommandLine::Mistake::ExtraOperand:
    case CommandLine::Mistake::None:
        break;
    }
    return Start::tr("extra operand '%1'");
}

} // namespace

QString secondInstanceNotice() {
    return QStringLiteral("\r\n") +
           Start::tr("An instance of this application is already running.") +
           QStringLiteral("\r\n") + Start::tr("A second instance is not supported");
}

QString folderWaitsNotice() {
    return QStringLiteral("\r\n") + Start::tr("Velmorandi is already running, and busy.") +
           QStringLiteral("\r\n") + Start::tr("The folder opens in it as soon as it is free.");
}

QByteArray helpText() {
    return Start::tr(
               "Usage: velmorandi [OPTION]... [FOLDER|FILE]\n"
               "Rename all the files of FOLDER at once: find and replace, change case, add a\n"
               "string, number them, trim them. Without FOLDER, the current folder is listed;\n"
               "given a FILE, its folder is listed with that file's row current. While\n"
               "Velmorandi runs, a second start hands its folder over to it.\n"
               "\n"
               "      --help     display this help and exit\n"
               "      --version  output version information and exit\n"
               "\n"
               "A file manager can also open a folder with Velmorandi through \"Open With\".\n")
        .toLocal8Bit();
}

QByteArray versionText() {
    return "velmorandi (Velmorandi) " + QByteArray::fromStdString(GetVersion()) + "\n" +
           Start::tr("Written by %1.").arg(QStringLiteral("Ombrix")).toLocal8Bit() + "\n";
}

QByteArray commandLineMistake(CommandLine::Mistake mistake, const std::string& argument) {
    return "velmorandi: " + withArgument(mistakeText(mistake), argument) + "\n" +
           Start::tr("Try 'velmorandi --help' for more information.").toLocal8Bit() + "\n";
}

} // namespace velmorandi::words
