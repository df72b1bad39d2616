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

constexpr std::string_view kFirstMagic = "VMRJNL01";
constexpr std::string_view kSecondMagic = "VMRJNL02";
constexpr std::string_view kThirdMagic = "VMRJNL03";
constexpr std::string_view kMagic = "VMRJNL04";
constexpr std::size_t kMagicSize = 8;

constexpr std::string_view kPlanTag = "PLAN";
constexpr std::string_view kClosingTag = "CLOS";
constexpr std::string_view kCompleteTag = "DONE";
// The closing record's tag in the first three formats.
constexpr std::string_view kOldClosingTag = "PARK";
constexpr std::string_view kRecordEnd = "END\n";
constexpr std::size_t kRecordSize = 16;
// "PLAN", the plan's size and its sum.
constexpr std::size_t kPlanTrailerSize = 4 + 8 + 8;

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
// Marks from the bytes after the plan: whole records in order, a torn last
// one ignored. `matches(bytes, tag)` checks one record.
template <class Matches>
void readMarks(std::string_view records, Matches&& matches, Mark& closing, Mark& complete);

// A record of the fourth format: its check binds it to the journal it ends,
// so that no record is taken for another journal's.
std::string record(std::string_view tag, std::uint64_t headerSum, std::uint64_t planSum);
// The same for the first three formats, whose check covers the tag alone.
std::string oldRecord(std::string_view tag);

// The step of the third and fourth formats: one byte for the operation, both
// stages and whether both names are one move's, then the move numbers as varints.
void writeStep(journal_bytes::Writer& writer, const RunStep& step);
std::optional<RunStep> readStep(journal_bytes::Reader& reader);

template <class Matches>
void readMarks(std::string_view records, Matches&& matches, Mark& closing, Mark& complete) {
    closing = complete = Mark::Absent;
    const std::size_t whole = records.size() / kRecordSize;
    for (std::size_t i = 0; i < whole; ++i) {
        const std::string_view one = records.substr(i * kRecordSize, kRecordSize);
        if (i == 0 && whole == 1 && matches(one, kClosingTag)) {
            closing = Mark::Present;
        } else if (i == 0 && whole == 2 && matches(one, kClosingTag)) {
            closing = Mark::Present;
        } else if (i == whole - 1 && matches(one, kCompleteTag)) {
            complete = Mark::Present;
        } else if (whole > 2) {
            closing = complete = Mark::Damaged;
            return;
        } else if (i == 0 && whole == 2) {
            closing = Mark::Damaged;
        } else if (i == 1) {
            complete = Mark::Damaged;
        } else {
            // A lone record that checks as neither: it may have been either.
            closing = complete = Mark::Damaged;
        }
    }
}

} // namespace velmorandi::journal_codec
