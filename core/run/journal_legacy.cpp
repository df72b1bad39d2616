#include "run/journal_legacy.h"

#include "run/journal_codec.h"
#include "temporary_names.h"

namespace velmorandi::journal_legacy {

using journal_bytes::Reader;
using State = JournalState;
using namespace journal_codec;

namespace {

// The header of the first three formats; its bytes are covered by the plan's sum.
bool readHeader(Reader& reader, Journal& journal) {
    reader.raw(kMagicSize);
    const std::uint8_t kind = reader.u8();
    const std::uint8_t flags = reader.u8();
    journal.folderIdentity.device = reader.u64();
    journal.folderIdentity.inode = reader.u64();
    const std::string_view folder = reader.text();
    const std::string_view subject = reader.text();
    if (!reader.ok() || !headerHolds(kind, flags, folder, subject))
        return false;
    journal.kind = static_cast<Journal::Kind>(kind);
    journal.traits = traitsOf(flags);
    journal.folder = std::string(folder);
    journal.subject = std::string(subject);
    return true;
}

// A move's four fields together, as the first two formats keep them.
bool readFullMove(Reader& reader, PlannedMove& move) {
    move.from = reader.text();
    move.to = reader.text();
    move.temporary = reader.text();
    move.identity = reader.u64();
    return isPlainName(move.from) && isPlainName(move.to) &&
           (move.temporary.empty() ||
            (isPlainName(move.temporary) && isTemporaryName(move.temporary)));
}

// The first two formats' step: an operation byte, then each name as a move
// number and a stage.
std::optional<RunStep> readFixedStep(Reader& reader) {
    RunStep step;
    const std::uint8_t op = reader.u8();
    if (op > 1)
        return std::nullopt;
    step.op = static_cast<RunStep::Op>(op);
    for (NameRef* ref : {&step.a, &step.b}) {
        ref->move = reader.u32();
        const std::uint8_t stage = reader.u8();
        if (stage > 2)
            return std::nullopt;
        ref->stage = static_cast<Stage>(stage);
    }
    return step;
}

// The third format's identities, then the moves that pass through a temporary name.
bool readDetails(Reader& reader, std::vector<PlannedMove>& moves) {
    for (PlannedMove& move : moves)
        move.identity = reader.u64();
    const std::uint32_t parked = reader.u32();
    if (parked > moves.size())
        return false;
    for (std::uint32_t i = 0; i < parked && reader.ok(); ++i) {
        const std::uint64_t move = reader.varint();
        const std::string_view temporary = reader.text();
        if (move >= moves.size() || !isPlainName(temporary) || !isTemporaryName(temporary))
            return false;
        moves[move].temporary = temporary;
    }
    return true;
}

// Header, moves and steps of any of the three, then the trailer whose sum
// covers everything before it.
template <class Sum> State decode(Journal& journal, bool fullMoves, bool fixedSteps, Sum&& sumOf) {
    const std::string_view bytes = *journal.bytes;
    Reader reader(bytes);
    bool holds = readHeader(reader, journal);
    const std::uint32_t moveCount = reader.u32();
    if (holds && moveCount > reader.left() / 8)
        return State::Torn;
    for (std::uint32_t i = 0; i < moveCount && holds && reader.ok(); ++i) {
        PlannedMove move;
        if (fullMoves) {
            holds = readFullMove(reader, move);
        } else {
            move.from = reader.text();
            move.to = reader.text();
            holds = isPlainName(move.from) && isPlainName(move.to);
        }
        move.row = i;
        journal.moves.push_back(move);
    }
    if (holds && !fullMoves)
        holds = readDetails(reader, journal.moves);
    const std::uint32_t stepCount = reader.u32();
    if (holds && stepCount > reader.left() / 2)
        return State::Torn;
    for (std::uint32_t i = 0; i < stepCount && holds && reader.ok(); ++i) {
        const std::optional<RunStep> step = fixedSteps ? readFixedStep(reader) : readStep(reader);
        holds = reader.ok() ? step && stepHolds(*step, journal.moves) : holds;
        if (holds && step)
            journal.plan.steps.push_back(*step);
    }
    journal.plan.firstClosingStep = reader.u32();
    holds = holds && journal.plan.firstClosingStep <= journal.plan.steps.size();
    const std::size_t bodySize = reader.offset();
    holds = reader.raw(kPlanTag.size()) == kPlanTag && holds;
    holds = reader.u64() == bodySize && holds;
    holds = reader.u64() == sumOf(bytes.substr(0, bodySize)) && holds;
    if (!reader.ok())
        return State::Torn;
    if (!holds)
        return State::Damaged;
    readMarks(
        bytes.substr(reader.offset()),
        [](std::string_view one, std::string_view tag) {
            return one == oldRecord(tag == kClosingTag ? kOldClosingTag : tag);
        },
        journal.closing, journal.complete);
    return State::Whole;
}

} // namespace

// Each move's four fields together, fixed-size steps, the plan summed a byte at a time.
State decodeFirstFormat(Journal& journal) {
    return decode(journal, true, true,
                  [](std::string_view body) { return journal_bytes::fnv1a(body); });
}

// As the first, summed by eight-byte words.
State decodeSecondFormat(Journal& journal) {
    return decode(journal, true, true, journal_bytes::wordSum);
}

// Every move's names first, then identities, temporary names and short steps.
State decodeThirdFormat(Journal& journal) {
    return decode(journal, false, false, journal_bytes::wordSum);
}

} // namespace velmorandi::journal_legacy
