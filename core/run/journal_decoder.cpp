#include "run/journal_decoder.h"

#include "run/journal_codec.h"
#include "temporary_names.h"

#include <algorithm>

namespace velmorandi {

using journal_bytes::Reader;
using State = DecodedJournal::State;
using namespace journal_codec;

namespace {

// A section that ended early is torn; one that is all there but does not
// check, or holds what no run writes, is damaged.
State verdict(const Reader& reader, bool holds) {
    if (!reader.ok())
        return State::Torn;
    return holds ? State::Whole : State::Damaged;
}

// The present format's header, checked by its own sum.
State readHeader(std::string_view bytes, Reader& reader, Journal& journal, std::uint32_t& moveCount,
                 std::uint64_t& headerSum) {
    reader.raw(kMagicSize);
    const std::uint8_t kind = reader.u8();
    const std::uint8_t flags = reader.u8();
    journal.folderIdentity.inode = reader.u64();
    journal.folderIdentity.birth = static_cast<std::int64_t>(reader.u64());
    const std::string_view mark = reader.raw(journal.mark.size());
    const std::string_view volume = reader.text();
    const std::string_view folder = reader.text();
    const std::string_view subject = reader.text();
    moveCount = reader.u32();
    const std::size_t size = reader.offset();
    headerSum = reader.u64();
    if (!reader.ok())
        return State::Torn;
    if (headerSum != journal_bytes::fnv1a(bytes.substr(0, size)) ||
        !headerHolds(kind, flags, folder, subject))
        return State::Damaged;
    journal.kind = static_cast<Journal::Kind>(kind);
    journal.traits = traitsOf(flags);
    std::copy(mark.begin(), mark.end(), journal.mark.begin());
    journal.volume = std::string(volume);
    journal.folder = std::string(folder);
    journal.subject = std::string(subject);
    return State::Whole;
}

// Every move's two names, then their sum.
State readNames(std::string_view bytes, Reader& reader, std::uint32_t moveCount,
                std::vector<PlannedMove>& moves) {
    // The count is the header's, which checked: where the file cannot hold
    // that many moves (eight bytes each at least), it was cut short.
    if (moveCount > reader.left() / 8)
        return State::Torn;
    const std::size_t start = reader.offset();
    moves.reserve(moveCount);
    bool holds = true;
    for (std::uint32_t i = 0; i < moveCount && reader.ok(); ++i) {
        PlannedMove move;
        move.from = reader.text();
        move.to = reader.text();
        move.row = i;
        holds = holds && isPlainName(move.from) && isPlainName(move.to);
        moves.push_back(move);
    }
    const std::size_t end = reader.offset();
    const std::uint64_t sum = reader.u64();
    return verdict(reader,
                   holds && sum == journal_bytes::wordSum(bytes.substr(start, end - start)));
}

bool readTemporaries(Reader& reader, std::vector<PlannedMove>& moves) {
    const std::uint32_t count = reader.u32();
    if (count > moves.size())
        return false;
    for (std::uint32_t i = 0; i < count && reader.ok(); ++i) {
        const std::uint64_t move = reader.varint();
        const std::string_view name = reader.text();
        if (move >= moves.size() || !moves[move].temporary.empty() || !isTemporaryName(name) ||
            !isPlainName(name))
            return false;
        moves[move].temporary = name;
    }
    return true;
}

bool readSteps(Reader& reader, Journal& journal) {
    const std::uint32_t count = reader.u32();
    if (count > reader.left() / 2) { // a step takes two bytes at least
        reader.fail();
        return true;
    }
    journal.plan.steps.reserve(count);
    for (std::uint32_t i = 0; i < count && reader.ok(); ++i) {
        const std::optional<RunStep> step = readStep(reader);
        if (!reader.ok())
            return true; // cut short: the caller's verdict says so
        if (!step || !stepHolds(*step, journal.moves))
            return false;
        journal.plan.steps.push_back(*step);
    }
    journal.plan.firstClosingStep = reader.u32();
    return journal.plan.firstClosingStep <= journal.plan.steps.size();
}

// The time, the files' numbers, the temporary names and the steps, then
// "PLAN", the section's size and its sum.
State readPlan(std::string_view bytes, Reader& reader, Journal& journal, std::uint64_t& planSum) {
    const std::size_t start = reader.offset();
    journal.started = static_cast<std::int64_t>(reader.u64());
    for (PlannedMove& move : journal.moves)
        move.identity = reader.varint();
    bool holds = readTemporaries(reader, journal.moves) && readSteps(reader, journal);
    const std::size_t size = reader.offset() - start;
    holds = reader.raw(kPlanTag.size()) == kPlanTag && holds;
    holds = reader.u64() == size && holds;
    planSum = reader.u64();
    return verdict(reader, holds && planSum == journal_bytes::wordSum(bytes.substr(start, size)));
}

DecodedJournal decodePresentFormat(Journal journal) {
    DecodedJournal decoded;
    const std::string_view bytes = *journal.bytes;
    Reader reader(bytes);
    std::uint32_t moveCount = 0;
    std::uint64_t headerSum = 0;
    std::uint64_t planSum = 0;
    decoded.state = readHeader(bytes, reader, journal, moveCount, headerSum);
    if (decoded.state != State::Whole)
        return decoded;
    decoded.header = headerOf(journal);
    decoded.state = readNames(bytes, reader, moveCount, journal.moves);
    if (decoded.state == State::Whole)
        decoded.state = readPlan(bytes, reader, journal, planSum);
    if (decoded.state != State::Whole)
        return decoded;
    const auto matches = [&](std::string_view one, std::string_view tag) {
        return one == record(tag, headerSum, planSum);
    };
    const std::string_view records = bytes.substr(reader.offset());
    const Marks marks = readMarks(records, matches);
    journal.closing = marks.closing;
    journal.placeholders = marks.placeholders;
    journal.complete = marks.complete;
    decoded.wholeSize = reader.offset() + records.size() / kRecordSize * kRecordSize;
    decoded.headerSum = headerSum;
    decoded.planSum = planSum;
    decoded.journal = std::move(journal);
    return decoded;
}

// "VMRJNL" and two digits: the present format, an older or a newer one.
State stateOfMagic(std::string_view magic) {
    const bool family = magic.size() == kMagicSize && magic.starts_with(kMagicStem) &&
                        std::all_of(magic.begin() + kMagicStem.size(), magic.end(),
                                    [](char c) { return c >= '0' && c <= '9'; });
    if (!family)
        return magic.size() < kMagicSize && kMagic.starts_with(magic) ? State::Torn
                                                                      : State::Damaged;
    // Two digits each: the greater version sorts last.
    if (magic == kMagic)
        return State::Whole;
    return magic > kMagic ? State::NewerFormat : State::OtherFormat;
}

} // namespace

DecodedJournal decodeJournal(std::string bytes) {
    Journal journal;
    journal.bytes = std::make_unique<const std::string>(std::move(bytes));
    const State state = stateOfMagic(std::string_view(*journal.bytes).substr(0, kMagicSize));
    if (state == State::Whole)
        return decodePresentFormat(std::move(journal));
    DecodedJournal unknown;
    unknown.state = state;
    return unknown;
}

bool isNewerFormat(std::string_view start) {
    return stateOfMagic(start.substr(0, kMagicSize)) == State::NewerFormat;
}

bool mayBeThisFormat(std::string_view start) {
    return kMagic.starts_with(start.substr(0, kMagicSize));
}

JournalSummary summarizeJournal(std::string_view head, std::string_view tail, std::uint64_t size) {
    JournalSummary summary;
    if (head.substr(0, kMagicSize) != kMagic)
        return summary;
    Journal journal;
    Reader reader(head);
    std::uint32_t moveCount = 0;
    std::uint64_t headerSum = 0;
    if (readHeader(head, reader, journal, moveCount, headerSum) != State::Whole)
        return summary;
    summary.header = headerOf(journal);
    // The plan's sum lies just before its records: none to three of them.
    for (std::size_t records = 0; records <= kMostRecords; ++records) {
        const std::size_t after = records * kRecordSize + kPlanTrailerSize;
        if (tail.size() < after || size < after)
            break;
        const std::string_view trailer = tail.substr(tail.size() - after, kPlanTrailerSize);
        if (!trailer.starts_with(kPlanTag))
            continue;
        Reader sum(trailer.substr(kPlanTag.size() + 8));
        const std::uint64_t planSum = sum.u64();
        summary.complete =
            readMarks(tail.substr(tail.size() - records * kRecordSize), [&](std::string_view one,
                                                                            std::string_view tag) {
                return one == record(tag, headerSum, planSum);
            }).complete;
        break;
    }
    return summary;
}

} // namespace velmorandi
