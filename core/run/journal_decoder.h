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
};

// Any format this program ever wrote; the journal keeps the bytes, as its
// moves' names lie in them.
DecodedJournal decodeJournal(std::string bytes);

// What a journal's first and last bytes say without the rest: the header and
// whether the run is marked complete. Only the present format can tell this
// much; for the older ones `wholeFileNeeded` is set.
struct JournalSummary {
    std::optional<JournalHeader> header;
    Mark complete = Mark::Absent;
    bool wholeFileNeeded = false;
};
// `head`: the file's first bytes (kSummaryHead at most); `tail`: its last
// (kSummaryTail at most); `size`: the file's.
JournalSummary summarizeJournal(std::string_view head, std::string_view tail, std::uint64_t size);
constexpr std::size_t kSummaryHead = 1 << 17;
constexpr std::size_t kSummaryTail = 64;

} // namespace velmorandi
