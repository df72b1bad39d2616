#include "run/journal.h"

#include <algorithm>
#include <cstring>

namespace velmorandi {
namespace {

// Journals of earlier formats are still read: a run they record may wait for
// its recovery across an update. The first sums its plan byte by byte; both
// keep each move's four fields together, where this one puts every name first.
constexpr std::string_view kFirstMagic = "VMRJNL01";
constexpr std::string_view kSecondMagic = "VMRJNL02";
constexpr std::string_view kMagic = "VMRJNL03";
constexpr std::string_view kPlanMark = "PLAN";
constexpr std::string_view kClosingTag = "PARK";
constexpr std::string_view kCompleteTag = "DONE";
constexpr std::string_view kRecordEnd = "END\n";
constexpr std::size_t kTrailerSize = 4 + 8 + 8;
constexpr std::size_t kPieceSize = 1 << 20;
constexpr std::uint64_t kChecksumStart = 0xcbf29ce484222325ull;
constexpr std::uint64_t kChecksumPrime = 0x100000001b3ull;

// FNV-1a; `hash` carries it on from the bytes before.
std::uint64_t checksum(std::string_view bytes, std::uint64_t hash = kChecksumStart) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kChecksumPrime;
    }
    return hash;
}

std::uint64_t planSum(std::string_view magic, std::string_view body) {
    if (magic == kFirstMagic)
        return checksum(body);
    PlanSum sum;
    sum.add(body);
    return sum.value();
}

class Writer {
  public:
    explicit Writer(std::string& bytes) : m_bytes(bytes) {}
    void u8(std::uint8_t value) { m_bytes.push_back(static_cast<char>(value)); }
    void u32(std::uint32_t value) { little(value, 4); }
    void u64(std::uint64_t value) { little(value, 8); }
    void text(std::string_view value) {
        u32(static_cast<std::uint32_t>(value.size()));
        m_bytes.append(value);
    }
    void raw(std::string_view value) { m_bytes.append(value); }
    // Seven bits a byte, the lowest first; the high bit says more follow.
    void varint(std::uint32_t value) {
        while (value >= 0x80) {
            m_bytes.push_back(static_cast<char>((value & 0x7F) | 0x80));
            value >>= 7;
        }
        m_bytes.push_back(static_cast<char>(value));
    }

  private:
    // Least significant byte first, in one append.
    void little(std::uint64_t value, int size) {
        char bytes[8];
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(value >> (8 * i));
        m_bytes.append(bytes, static_cast<std::size_t>(size));
    }
    std::string& m_bytes;
};

// Every read checks the length left, so a truncated file fails cleanly.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    std::size_t offset() const { return m_offset; }
    std::uint8_t u8() {
        if (!need(1))
            return 0;
        return static_cast<std::uint8_t>(m_bytes[m_offset++]);
    }
    std::uint32_t u32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(u8()) << (8 * i);
        return value;
    }
    std::uint64_t u64() {
        std::uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value |= static_cast<std::uint64_t>(u8()) << (8 * i);
        return value;
    }
    std::string_view text() {
        const std::uint32_t size = u32();
        return raw(size);
    }
    std::uint32_t varint() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 35 && m_ok; shift += 7) {
            const std::uint8_t byte = u8();
            value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                return value;
        }
        m_ok = false;
        return 0;
    }
    std::string_view raw(std::size_t size) {
        if (!need(size))
            return {};
        const std::string_view value = m_bytes.substr(m_offset, size);
        m_offset += size;
        return value;
    }

  private:
    bool need(std::size_t size) {
        if (m_ok && m_bytes.size() - m_offset >= size)
            return true;
        m_ok = false;
        return false;
    }
    std::string_view m_bytes;
    std::size_t m_offset = 0;
    bool m_ok = true;
};

std::string record(std::string_view tag) {
    std::string bytes;
    Writer writer(bytes);
    writer.raw(tag);
    writer.u64(checksum(tag));
    writer.raw(kRecordEnd);
    return bytes;
}

bool isRecord(std::string_view bytes, std::string_view tag) {
    return bytes.size() == kRecordSize && bytes == record(tag);
}

std::uint8_t flagsOf(const platform::FileSystemTraits& traits) {
    return static_cast<std::uint8_t>((traits.ignoresCase ? 1 : 0) |
                                     (traits.stableIdentities ? 2 : 0));
}

// The present format's step: one byte for the operation, both stages and
// whether both names are one move's, then the move numbers as varints.
void writeStep(Writer& writer, const RunStep& step) {
    const bool oneMove = step.a.move == step.b.move;
    writer.u8(static_cast<std::uint8_t>(
        static_cast<unsigned>(step.op) | static_cast<unsigned>(step.a.stage) << 1 |
        static_cast<unsigned>(step.b.stage) << 3 | (oneMove ? 1u : 0u) << 5));
    writer.varint(step.a.move);
    if (!oneMove)
        writer.varint(step.b.move);
}

RunStep readStep(Reader& reader) {
    const std::uint8_t head = reader.u8();
    RunStep step;
    step.op = static_cast<RunStep::Op>(head & 1);
    step.a.stage = static_cast<Stage>((head >> 1) & 3);
    step.b.stage = static_cast<Stage>((head >> 3) & 3);
    step.a.move = reader.varint();
    step.b.move = (head & 0x20) != 0 ? step.a.move : reader.varint();
    if ((head & 0xC0) != 0)
        step.op = static_cast<RunStep::Op>(2); // refused by refsValid
    return step;
}

NameRef readRef(Reader& reader) {
    NameRef ref;
    ref.move = reader.u32();
    ref.stage = static_cast<Stage>(reader.u8());
    return ref;
}

bool readHeader(Reader& reader, JournalHeader& header, std::uint8_t& flags,
                platform::FileIdentity& identity, std::string_view& magic) {
    magic = reader.raw(kMagic.size());
    if (magic != kMagic && magic != kSecondMagic && magic != kFirstMagic)
        return false;
    header.kind = static_cast<Journal::Kind>(reader.u8());
    flags = reader.u8();
    identity.device = reader.u64();
    identity.inode = reader.u64();
    header.folder = std::string(reader.text());
    header.subject = std::string(reader.text());
    return reader.ok();
}

bool refsValid(const RunStep& step, std::size_t moves) {
    for (const NameRef ref : {step.a, step.b})
        if (ref.move >= moves || static_cast<std::uint8_t>(ref.stage) > 2)
            return false;
    return step.op == RunStep::Op::Rename || step.op == RunStep::Op::Exchange;
}

// The present format's identities, then the moves that pass through a
// temporary name, with it.
bool readDetails(Reader& reader, std::vector<PlannedMove>& moves) {
    for (PlannedMove& move : moves)
        move.identity = reader.u64();
    const std::uint32_t parked = reader.u32();
    for (std::uint32_t i = 0; i < parked && reader.ok(); ++i) {
        const std::uint32_t move = reader.varint();
        const std::string_view temporary = reader.text();
        if (move >= moves.size())
            return false;
        moves[move].temporary = temporary;
    }
    return reader.ok();
}

} // namespace

void PlanSum::add(std::string_view bytes) {
    std::size_t i = 0;
    while (m_filled != 0 && i < bytes.size())
        addByte(bytes[i++]);
    for (; i + 8 <= bytes.size(); i += 8) {
        m_word = littleEndianWord(bytes.data() + i);
        mixWord();
    }
    while (i < bytes.size())
        addByte(bytes[i++]);
}

std::uint64_t PlanSum::value() const {
    PlanSum last = *this;
    if (last.m_filled > 0)
        last.mixWord();
    return last.m_hash;
}

std::uint64_t PlanSum::littleEndianWord(const char* bytes) {
    std::uint64_t word = 0;
    for (int k = 0; k < 8; ++k)
        word |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[k])) << (8 * k);
    return word;
}

void PlanSum::addByte(char c) {
    m_word |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << (8 * m_filled);
    if (++m_filled == 8)
        mixWord();
}

void PlanSum::mixWord() {
    m_hash = (m_hash ^ m_word) * kChecksumPrime;
    m_word = 0;
    m_filled = 0;
}

JournalEncoder::JournalEncoder(const Journal& journal) : m_journal(journal) {}

void JournalEncoder::encodeSome() {
    Writer writer(m_piece);
    const Journal& journal = m_journal;
    switch (m_part) {
    case Part::Header:
        writer.raw(kMagic);
        writer.u8(static_cast<std::uint8_t>(journal.kind));
        writer.u8(flagsOf(journal.traits));
        writer.u64(journal.folderIdentity.device);
        writer.u64(journal.folderIdentity.inode);
        writer.text(journal.folder);
        writer.text(journal.subject);
        writer.u32(static_cast<std::uint32_t>(journal.moves.size()));
        m_part = journal.moves.empty() ? Part::Identities : Part::Names;
        break;
    case Part::Names: {
        const PlannedMove& move = journal.moves[m_next++];
        writer.text(move.from);
        writer.text(move.to);
        if (m_next == journal.moves.size()) {
            m_part = Part::Identities;
            m_next = 0;
        }
        break;
    }
    case Part::Identities:
        if (m_next < journal.moves.size()) {
            writer.u64(journal.moves[m_next++].identity);
            break;
        }
        // Few moves pass through a temporary name: only theirs are listed.
        writer.u32(static_cast<std::uint32_t>(
            std::count_if(journal.moves.begin(), journal.moves.end(),
                          [](const PlannedMove& move) { return !move.temporary.empty(); })));
        m_part = Part::Temporaries;
        m_next = 0;
        break;
    case Part::Temporaries:
        for (; m_next < journal.moves.size(); ++m_next) {
            if (!journal.moves[m_next].temporary.empty()) {
                writer.varint(static_cast<std::uint32_t>(m_next));
                writer.text(journal.moves[m_next++].temporary);
                return;
            }
        }
        writer.u32(static_cast<std::uint32_t>(journal.plan.steps.size()));
        m_part = Part::Steps;
        m_next = 0;
        break;
    case Part::Steps:
        if (m_next < journal.plan.steps.size()) {
            writeStep(writer, journal.plan.steps[m_next++]);
            break;
        }
        writer.u32(static_cast<std::uint32_t>(journal.plan.firstClosingStep));
        m_part = Part::Trailer;
        break;
    case Part::Trailer:
    case Part::Done:
        break;
    }
}

std::string_view JournalEncoder::next() {
    m_piece.clear();
    if (m_part == Part::Done)
        return {};
    const auto stopsForPlan = [this] { return m_part == Part::Identities && !m_planReleased; };
    while (m_part != Part::Trailer && m_piece.size() < kPieceSize && !stopsForPlan())
        encodeSome();
    m_bodySize += m_piece.size();
    m_bodySum.add(m_piece);
    if (m_part == Part::Trailer) {
        Writer writer(m_piece);
        writer.raw(kPlanMark);
        writer.u64(m_bodySize);
        writer.u64(m_bodySum.value());
        m_part = Part::Done;
    }
    return m_piece;
}

std::string closingRecord() {
    return record(kClosingTag);
}

std::string completeRecord() {
    return record(kCompleteTag);
}

std::optional<Journal> decodeJournal(std::string file) {
    Journal journal;
    journal.bytes = std::make_unique<const std::string>(std::move(file));
    const std::string_view bytes = *journal.bytes;
    Reader reader(bytes);
    JournalHeader header;
    std::uint8_t flags = 0;
    std::string_view magic;
    if (!readHeader(reader, header, flags, journal.folderIdentity, magic))
        return std::nullopt;
    journal.kind = header.kind;
    journal.folder = std::move(header.folder);
    journal.subject = std::move(header.subject);
    journal.traits.ignoresCase = (flags & 1) != 0;
    journal.traits.stableIdentities = (flags & 2) != 0;

    const std::uint32_t moveCount = reader.u32();
    const bool present = magic == kMagic;
    for (std::uint32_t i = 0; i < moveCount && reader.ok(); ++i) {
        PlannedMove move;
        move.from = reader.text();
        move.to = reader.text();
        if (!present) {
            move.temporary = reader.text();
            move.identity = reader.u64();
        }
        move.row = i;
        journal.moves.push_back(move);
    }
    if (present && !readDetails(reader, journal.moves))
        return std::nullopt;
    const std::uint32_t stepCount = reader.u32();
    for (std::uint32_t i = 0; i < stepCount && reader.ok(); ++i) {
        RunStep step;
        if (present) {
            step = readStep(reader);
        } else {
            step.op = static_cast<RunStep::Op>(reader.u8());
            step.a = readRef(reader);
            step.b = readRef(reader);
        }
        if (!refsValid(step, journal.moves.size()))
            return std::nullopt;
        journal.plan.steps.push_back(step);
    }
    journal.plan.firstClosingStep = reader.u32();
    const std::size_t bodySize = reader.offset();
    if (!reader.ok() || journal.plan.firstClosingStep > journal.plan.steps.size())
        return std::nullopt;
    if (reader.raw(kPlanMark.size()) != kPlanMark || reader.u64() != bodySize ||
        reader.u64() != planSum(magic, bytes.substr(0, bodySize)) || !reader.ok())
        return std::nullopt;

    std::string_view records = bytes.substr(bodySize + kTrailerSize);
    while (records.size() >= kRecordSize) {
        const std::string_view one = records.substr(0, kRecordSize);
        journal.closing = journal.closing || isRecord(one, kClosingTag);
        journal.complete = journal.complete || isRecord(one, kCompleteTag);
        records.remove_prefix(kRecordSize);
    }
    return journal;
}

std::optional<JournalHeader> decodeHeader(std::string_view prefix) {
    Reader reader(prefix);
    JournalHeader header;
    std::uint8_t flags = 0;
    platform::FileIdentity identity;
    std::string_view magic;
    if (!readHeader(reader, header, flags, identity, magic))
        return std::nullopt;
    return header;
}

bool endsComplete(std::string_view suffix) {
    return suffix.size() >= kRecordSize &&
           isRecord(suffix.substr(suffix.size() - kRecordSize), kCompleteTag);
}

} // namespace velmorandi
