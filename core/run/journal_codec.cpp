#include "run/journal_codec.h"

#include "platform/path_text.h"

#include <bit>
#include <cstring>

namespace velmorandi {

namespace journal_bytes {

void WordSum::add(std::string_view bytes) {
    std::size_t i = 0;
    while (m_filled != 0 && i < bytes.size())
        addByte(bytes[i++]);
    for (; i + 8 <= bytes.size(); i += 8) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&m_word, bytes.data() + i, sizeof m_word);
        } else {
            m_word = 0;
            for (int k = 0; k < 8; ++k)
                m_word |= std::uint64_t{static_cast<unsigned char>(bytes[i + k])} << (8 * k);
        }
        mixWord();
    }
    while (i < bytes.size())
        addByte(bytes[i++]);
}

std::uint64_t WordSum::value() const {
    WordSum last = *this;
    if (last.m_filled > 0)
        last.mixWord();
    return last.m_hash;
}

void WordSum::addByte(char c) {
    m_word |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << (8 * m_filled);
    if (++m_filled == 8)
        mixWord();
}

void WordSum::mixWord() {
    m_hash = (m_hash ^ m_word) * kFnvPrime;
    m_word = 0;
    m_filled = 0;
}

} // namespace journal_bytes

namespace journal_codec {

using journal_bytes::Reader;
using journal_bytes::Writer;

bool headerHolds(std::uint8_t kind, std::uint8_t flags, std::string_view folder,
                 std::string_view subject) {
    constexpr std::size_t kLongestPath = 1 << 16;
    const bool subjectHolds = static_cast<Journal::Kind>(kind) == Journal::Kind::Rename
                                  ? subject.empty()
                                  : isRecordName(subject);
    return knownKind(kind) && (flags & ~(kIgnoresCase | kStableIdentities)) == 0 &&
           !folder.empty() && folder.size() < kLongestPath && platform::isAbsolutePath(folder) &&
           folder.find('\0') == std::string_view::npos && subjectHolds;
}

bool stepHolds(const RunStep& step, const std::vector<PlannedMove>& moves) {
    if (step.op != RunStep::Op::Rename && step.op != RunStep::Op::Exchange)
        return false;
    for (const NameRef ref : {step.a, step.b}) {
        if (ref.move >= moves.size() || static_cast<unsigned>(ref.stage) > 2)
            return false;
        if (ref.stage == Stage::Temporary && moves[ref.move].temporary.empty())
            return false;
    }
    return true;
}

namespace {

std::string recordChecked(std::string_view tag, std::uint64_t check) {
    std::string bytes;
    Writer writer(bytes);
    writer.raw(tag);
    writer.u64(check);
    writer.raw(kRecordEnd);
    return bytes;
}

} // namespace

std::string record(std::string_view tag, std::uint64_t headerSum, std::uint64_t planSum) {
    std::string bound(tag);
    Writer(bound).u64(headerSum);
    Writer(bound).u64(planSum);
    return recordChecked(tag, journal_bytes::fnv1a(bound));
}

std::string placeholderContent(const RunMark& mark) {
    std::string content(kPlaceholderTag);
    content.append(reinterpret_cast<const char*>(mark.data()), mark.size());
    return content;
}

namespace {
constexpr unsigned kOneMove = 0x20;
constexpr unsigned kUnused = 0xC0;
} // namespace

void writeStep(Writer& writer, const RunStep& step) {
    const bool oneMove = step.a.move == step.b.move;
    writer.u8(static_cast<std::uint8_t>(
        static_cast<unsigned>(step.op) | static_cast<unsigned>(step.a.stage) << 1 |
        static_cast<unsigned>(step.b.stage) << 3 | (oneMove ? kOneMove : 0u)));
    writer.varint(step.a.move);
    if (!oneMove)
        writer.varint(step.b.move);
}

std::optional<RunStep> readStep(Reader& reader) {
    const std::uint8_t head = reader.u8();
    const unsigned stageA = (head >> 1) & 3;
    const unsigned stageB = (head >> 3) & 3;
    if ((head & kUnused) != 0 || stageA > 2 || stageB > 2)
        return std::nullopt;
    RunStep step;
    step.op = static_cast<RunStep::Op>(head & 1);
    step.a.stage = static_cast<Stage>(stageA);
    step.b.stage = static_cast<Stage>(stageB);
    const std::uint64_t a = reader.varint();
    const std::uint64_t b = (head & kOneMove) != 0 ? a : reader.varint();
    if (!reader.ok() || a > UINT32_MAX || b > UINT32_MAX)
        return std::nullopt;
    step.a.move = static_cast<std::uint32_t>(a);
    step.b.move = static_cast<std::uint32_t>(b);
    return step;
}

} // namespace journal_codec
} // namespace velmorandi
