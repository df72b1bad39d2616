#include "words/message_words.h"

#include "words/grid_words.h"

#include <QCoreApplication>

namespace velmorandi::words {

namespace {

class Messages {
    Q_DECLARE_TR_FUNCTIONS(Messages)
};

const QString kParagraph = QStringLiteral("\r\n\r\n");

} // namespace

QString protectedFilesWarning() {
    return Messages::tr("It is not advisable to rename some of the listed files.") + kParagraph +
           Messages::tr("It may cause serious damages to the operating system of this computer. "
                        "Renaming these files may also result undesirable to the execution of the "
                        "programs that is dependent of these files.");
}

QString programFolderWarning() {
    return Messages::tr("This is the folder Velmorandi runs from.") + kParagraph +
           Messages::tr("Its files are not renamed here: Velmorandi needs them to start. Choose a "
                        "folder of your own files.");
}

QString driveNotReady() {
    return Messages::tr("Selected drive is not found ready for IO operations. Resetting the drive "
                        "default to first accessible drive found.") +
           kParagraph +
           Messages::tr("Also check floppy, CD or DVD drive contains disk in it and is closed "
                        "properly.");
}

QString folderNotOpened() {
    return Messages::tr("Selected folder could not be opened.") + kParagraph +
           Messages::tr("Check that the folder still exists and that you may read it.");
}

QString folderNotOpened(const QString& folder) {
    return Messages::tr("The folder %1 could not be opened.").arg(folder) + kParagraph +
           Messages::tr("Check that the folder still exists and that you may read it.");
}

QString driveGone(const QString& drive) {
    return Messages::tr("The drive %1 is gone, and with it the folder that was open.").arg(drive) +
           kParagraph + Messages::tr("Velmorandi shows the default drive instead.");
}

QString rowRefused(int row, const QString& name, const QString& reasons) {
    return Messages::tr("Row %L1, %2, was refused.").arg(row).arg(name) + kParagraph + reasons;
}

QString characterLeftOut(char32_t character, bool systemRefuses) {
    const QString named = characterName(character);
    if (systemRefuses)
        return Messages::tr("%1 cannot be part of a file name on this system.").arg(named);
    return Messages::tr("%1 is left out: Velmorandi keeps file names free of the characters "
                        "Windows does not allow.")
        .arg(named);
}

QString extensionKept(const QString& extension) {
    return Messages::tr("The name must end in .%1: Velmorandi changes only the part of a name "
                        "before its last dot.")
        .arg(extension);
}

} // namespace velmorandi::words
