#pragma once

#include "platform/run_platform.h"
#include "run/run_plan.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// A run's plan as kept on disk, so that a crash can be rolled back and a
// completed run undone.
struct Journal {
    enum class Kind : std::uint8_t {
        Rename = 1,  // the user's run; kept for undo once complete
        Undo = 2,    // takes `subject` back
        Rollback = 3 // rolls back `subject`, which a crash interrupted
    };
    Kind kind = Kind::Rename;
    std::string folder;
    platform::FileIdentity folderIdentity;
    platform::FileSystemTraits traits;
    std::string subject; // file name of the journal an undo or rollback reverses
    std::vector<PlannedMove> moves;
    RunPlan plan;
    // A journal read back: the bytes its moves' names lie in.
    std::unique_ptr<const std::string> bytes;

    // Records added as the run goes on.
    bool closing = false;  // every step before plan.firstClosingStep is on the disk
    bool complete = false; // every step is on the disk
};

// The plan: body, then its length and checksum, so a torn write is recognised.
// Given a piece at a time, so a run of a million files never holds it whole.
// The plan's checksum: FNV-1a over eight-byte little-endian words, the last
// one filled with zeros, an eighth of the multiplications of summing a ten
// megabyte plan byte by byte. Bytes may come in pieces of any size.
class PlanSum {
  public:
    void add(std::string_view bytes);
    std::uint64_t value() const;

  private:
    static std::uint64_t littleEndianWord(const char* bytes);
    void addByte(char c);
    void mixWord();
    std::uint64_t m_hash = 0xcbf29ce484222325ull;
    std::uint64_t m_word = 0;
    int m_filled = 0;
};

// Every move's names come first, then what the check of the folder and the
// plan add to them: the names can be written while the run is being planned.
class JournalEncoder {
  public:
    explicit JournalEncoder(const Journal& journal);
    // Empty once the names are given, until continueWithPlan(); then empty
    // once every byte has been given.
    std::string_view next();
    void continueWithPlan() { m_planReleased = true; }

  private:
    enum class Part { Header, Names, Identities, Temporaries, Steps, Trailer, Done };
    void encodeSome();
    const Journal& m_journal;
    std::string m_piece;
    Part m_part = Part::Header;
    bool m_planReleased = false;
    std::size_t m_next = 0; // the next move or step
    std::uint64_t m_bodySize = 0;
    PlanSum m_bodySum;
};
// Records appended later; each carries its own check.
std::string closingRecord();
std::string completeRecord();

// Nothing when the plan was never written completely: no step can have run then.
// The journal keeps the bytes: its moves' names lie in them.
std::optional<Journal> decodeJournal(std::string bytes);

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
