#pragma once

#include "command_line.h"

#include <QByteArray>
#include <QString>

#include <string>

// What the program says before its window opens: on the terminal, and in the
// notice that answers a second start.
namespace velmorandi::words {

QString secondInstanceNotice();
// The running instance opens the second start's folder once it is free.
QString folderWaitsNotice();

// For the terminal, as bytes; an argument of the command line goes back as it came.
QByteArray helpText();
QByteArray versionText();
// What is wrong with the command line, and where to read more.
QByteArray commandLineMistake(CommandLine::Mistake mistake, const std::string& argument);

} // namespace velmorandi::words
