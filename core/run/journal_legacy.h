#pragma once

#include "run/journal.h"

#include <string_view>

// The formats this program wrote before the present one, each read into the
// present structure: a run they record may wait for its recovery across an
// update. docs/journal-format.md gives their bytes.
namespace velmorandi::journal_legacy {

// Each takes the bytes `journal.bytes` holds and fills `journal`.
JournalState decodeFirstFormat(Journal& journal);
JournalState decodeSecondFormat(Journal& journal);
JournalState decodeThirdFormat(Journal& journal);

} // namespace velmorandi::journal_legacy
