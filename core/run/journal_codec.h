#pragma once

#include "run/journal.h"
#include "run/journal_bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the encoder and the decoders share: docs/journal-format.md in code.
namespace velmorandi::journal_codec {

// Every journal begins "VMRJNL" and two digits of its format; only the
// present one is read, any other is kept and reported. VMRJNL05 was the first
// released: a later format must go on reading it, so that a crash before an
// update still gets every name back (docs/journal-format.md).
constexpr std::string_view kMagicStem = "VMRJNL";
constexpr std::string_view kMagic = "VMRJNL05";
constexpr std::size_t kMagicSize = 8;

constexpr std::string_view kPlanTag = "PLAN";
constexpr std::string_view kClosingTag = "CLOS";
constexpr std::string_view kPlaceholdersTag = "PLHD";
constexpr std::string_view kCompleteTag = "DONE";
constexpr std::string_view kRecordEnd = "END\n";
constexpr std::size_t kRecordSize = 16;
constexpr std::size_t kMostRecords = 3;
// "PLAN", the plan's size and its sum.
constexpr std::size_t kPlanTrailerSize = 4 + 8 + 8;

// What a placeholder holds: this, then the run's mark.
constexpr std::string_view kPlaceholderTag = "VMRPLHD\n";

constexpr std::uint8_t kIgnoresCase = 1;
constexpr std::uint8_t kStableIdentities = 2;

inline std::uint8_t flagsOf(const platform::FileSystemTraits& traits) {
    return static_cast<std::uint8_t>((traits.ignoresCase ? kIgnoresCase : 0) |
                                     (traits.stableIdentities ? kStableIdentities : 0));
}

inline platform::FileSystemTraits traitsOf(std::uint8_t flags) {
    return {(flags & kIgnoresCase) != 0, (flags & kStableIdentities) != 0};
}

inline bool knownKind(std::uint8_t kind) {
    return kind >= static_cast<std::uint8_t>(Journal::Kind::Rename) &&
           kind <= static_cast<std::uint8_t>(Journal::Kind::Rollback);
}

// The header's fields as no run writes them: an unknown kind or flag, a folder
// that is not a whole path, a subject that is no record of this program's.
bool headerHolds(std::uint8_t kind, std::uint8_t flags, std::string_view folder,
                 std::string_view subject);
// A plan's steps name moves and stages that exist: a temporary name only
// where the move has one.
bool stepHolds(const RunStep& step, const std::vector<PlannedMove>& moves);
// The marks a journal's records set, as read back.
struct Marks {
    Mark closing = Mark::Absent;
    Mark placeholders = Mark::Absent;
    Mark complete = Mark::Absent;
};
// Marks from the bytes after the plan: the closing and placeholders records
// in either order, each at most once, then the complete one; a torn last
// record ignored. A record that checks as none may have been any that could
// stand there. `matches(bytes, tag)` checks one record.
template <class Matches> Marks readMarks(std::string_view records, Matches&& matches);

// A record: its check binds it to the journal it ends, so that no record is
// taken for another journal's.
std::string record(std::string_view tag, std::uint64_t headerSum, std::uint64_t planSum);
std::string placeholderContent(const RunMark& mark);

// A step: one byte for the operation, both stages and whether both names are
// one move's, then the move numbers as varints.
void writeStep(journal_bytes::Writer& writer, const RunStep& step);
std::optional<RunStep> readStep(journal_bytes::Reader& reader);

template <class Matches> Marks readMarks(std::string_view records, Matches&& matches) {
    Marks marks;
    const std::size_t whole = records.size() / kRecordSize;
    bool damaged = false;     // a record before the last that checks as none
    bool lastDamaged = false; // the last record checks as none
    for (std::size_t i = 0; i < whole && i < kMostRecords; ++i) {
        const std::string_view one = records.substr(i * kRecordSize, kRecordSize);
        const bool last = i + 1 == whole;
        if (marks.closing == Mark::Absent && matches(one, kClosingTag))
            marks.closing = Mark::Present;
        else if (marks.placeholders == Mark::Absent && matches(one, kPlaceholdersTag))
            marks.placeholders = Mark::Present;
        else if (last && matches(one, kCompleteTag))
            marks.complete = Mark::Present;
        else
            (last ? lastDamaged : damaged) = true;
    }
    const auto damage = [](Mark& mark) {
        if (mark == Mark::Absent)
            mark = Mark::Damaged;
    };
    if (whole > kMostRecords)
        damaged = lastDamaged = true;
    if (damaged || lastDamaged) {
        damage(marks.closing);
        damage(marks.placeholders);
    }
    if (lastDamaged)
        damage(marks.complete);
    return marks;
}

} // namespace velmorandi::journal_codec
