#pragma once

#include <QString>

// The words of the windows. Every text they show that is not a control's own
// caption is worded in ui/words, from the facts the core returns, through
// tr(): English is the source, ui/translations holds the other languages
// (start-up texts: app/start_words). The texts of the message window read:
// what happened, an empty line (CR LF CR LF), what to do.
namespace velmorandi::words {

// Behind the warning button of a folder that holds system or start-up files.
QString protectedFilesWarning();
QString programFolderWarning();
// A drive that cannot be read; the default drive is chosen instead.
QString driveNotReady();
// A folder chosen in the folder list that cannot be read.
QString folderNotOpened();
// A folder named on the command line or by a second start that cannot be read.
QString folderNotOpened(const QString& folder);
// The drive that held the open folder went away.
QString driveGone(const QString& drive);
// Why a row reads "Err!", told by "Why…": its number and name, then the
// reasons (rowReasons).
QString rowRefused(int row, const QString& name, const QString& reasons);
// Told at a text box when a typed character is left out: the system holds no
// file name with it, or it is one of those Windows refuses, which the program
// keeps out of names everywhere.
QString characterLeftOut(char32_t character, bool systemRefuses);
// A name typed by hand without the file's extension, which no edit changes.
QString extensionKept(const QString& extension);

} // namespace velmorandi::words
