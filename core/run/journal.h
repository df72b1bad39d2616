#pragma once

#include "platform/run_platform.h"
#include "run/run_plan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// A run's plan as kept on disk, so that a crash can be rolled back and a
// completed run undone.
struct Journal {
    enum class Kind : std::uint8_t {
        Rename = 1,   // the user's run; kept for undo once complete
        Undo = 2,     // takes `subject` back
        Rollback = 3  // rolls back `subject`, which a crash interrupted
    };
    Kind kind = Kind::Rename;
    std::string folder;
    platform::FileIdentity folderIdentity;
    platform::FileSystemTraits traits;
    std::string subject; // file name of the journal an undo or rollback reverses
    std::vector<PlannedMove> moves;
    RunPlan plan;

    // Records added as the run goes on.
    bool closing = false;  // every step before plan.firstClosingStep is on the disk
    bool complete = false; // every step is on the disk
};

// The plan: body, then its length and checksum, so a torn write is recognised.
std::string encodeJournal(const Journal& journal);
// Records appended later; each carries its own check.
std::string closingRecord();
std::string completeRecord();

// Nothing when the plan was never written completely: no step can have run then.
std::optional<Journal> decodeJournal(std::string_view bytes);

// Kind, folder and subject only, from the first bytes of a journal file.
struct JournalHeader {
    Journal::Kind kind = Journal::Kind::Rename;
    std::string folder;
    std::string subject;
};
std::optional<JournalHeader> decodeHeader(std::string_view prefix);
// True when the file's last bytes are the record of a complete run.
bool endsComplete(std::string_view suffix);
constexpr std::size_t kRecordSize = 16;

} // namespace velmorandi
