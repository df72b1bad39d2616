#pragma once

#include "run/run.h"

#include <QString>

// The words of renames, undos, redos and recovery, from the facts the run
// engine returns.
namespace velmorandi::words {

// What a run tells once it is over; empty where it has nothing to tell.
QString runNews(const RunNews& news);
// What recovery tells at start-up or when a folder is opened: a sentence per
// run or record it met, then one advice; empty where it met none.
QString recoveryReport(const RecoveryReport& report);

// The note that leaves an unmarked placeholder for the user to decide on;
// null where there is none. Only one is asked about at a time.
const RecoveryNote* unmarkedNote(const RecoveryReport& report);
// The question that follows the report, and its two answers.
QString unmarkedQuestion(const RecoveryNote& note);
QString removeUnmarkedChoice();
QString keepUnmarkedChoice();

} // namespace velmorandi::words
