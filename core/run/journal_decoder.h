#pragma once

#include "run/journal.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmorandi {

// What a journal's bytes prove. Nothing in a journal is acted on unless it is
// whole: a record torn or damaged after it was sealed is kept and reported.
struct DecodedJournal {
    using State = JournalState;
    State state = State::Damaged;
    std::optional<JournalHeader> header; // wherever the header itself checks
    std::optional<Journal> journal;      // Whole only
    // Whole: the bytes up to the end of the last whole record; what follows
    // is a record torn as it was appended.
    std::size_t wholeSize = 0;
    // Whole: what the journal's records are bound to.
    std::uint64_t headerSum = 0;
    std::uint64_t planSum = 0;
};

// The present format only; the journal keeps the bytes, as its moves' names
// lie in them.
DecodedJournal decodeJournal(std::string bytes);

// Whether a record's first bytes may begin a journal of the present format:
// they are its magic, or the start of it.
bool mayBeThisFormat(std::string_view start);
// Whether they are the magic of a format newer than the present one.
bool isNewerFormat(std::string_view start);

// What a journal's first and last bytes say without the rest: the header and
// whether the run is marked complete.
struct JournalSummary {
    std::optional<JournalHeader> header;
    Mark complete = Mark::Absent;
};
// `head`: the file's first bytes (kSummaryHead at most); `tail`: its last
// (kSummaryTail at most); `size`: the file's.
JournalSummary summarizeJournal(std::string_view head, std::string_view tail, std::uint64_t size);
constexpr std::size_t kSummaryHead = 1 << 17;
constexpr std::size_t kSummaryTail = 128;

} // namespace velmorandi
