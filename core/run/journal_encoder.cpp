#include "run/journal_encoder.h"

#include "run/journal_codec.h"

#include <algorithm>

namespace velmorandi {

using journal_bytes::Writer;
using namespace journal_codec;

namespace {
constexpr std::size_t kPieceSize = 1 << 20;
} // namespace

JournalEncoder::JournalEncoder(const Journal& journal) : m_journal(journal) {}

void JournalEncoder::encodeHeader() {
    Writer writer(m_piece);
    writer.raw(kMagic);
    writer.u8(static_cast<std::uint8_t>(m_journal.kind));
    writer.u8(flagsOf(m_journal.traits));
    writer.u64(m_journal.folderIdentity.inode);
    writer.u64(static_cast<std::uint64_t>(m_journal.folderIdentity.birth));
    writer.raw(std::string_view(reinterpret_cast<const char*>(m_journal.mark.data()),
                                m_journal.mark.size()));
    writer.text(m_journal.volume);
    writer.text(m_journal.folder);
    writer.text(m_journal.subject);
    writer.u32(static_cast<std::uint32_t>(m_journal.moves.size()));
    m_headerSum = journal_bytes::fnv1a(m_piece);
    writer.u64(m_headerSum);
}

// The moves' file numbers, as many as the piece has room for; then how
// many moves pass through a temporary name.
void JournalEncoder::encodeIdentities() {
    Writer writer(m_piece);
    const std::vector<PlannedMove>& moves = m_journal.moves;
    for (; m_next < moves.size() && m_piece.size() < kPieceSize; ++m_next)
        writer.varint(moves[m_next].identity);
    if (m_next < moves.size())
        return;
    // Few moves pass through a temporary name: only theirs are listed.
    writer.u32(static_cast<std::uint32_t>(
        std::count_if(moves.begin(), moves.end(),
                      [](const PlannedMove& move) { return !move.temporary.empty(); })));
    m_section = Section::Temporaries;
    m_next = 0;
}

void JournalEncoder::encodeSome() {
    Writer writer(m_piece);
    const Journal& journal = m_journal;
    switch (m_section) {
    case Section::Header:
        encodeHeader();
        m_summed = m_piece.size(); // the header has a sum of its own
        m_section = journal.moves.empty() ? Section::NamesSum : Section::Names;
        return;
    case Section::Names:
        for (; m_next < journal.moves.size() && m_piece.size() < kPieceSize; ++m_next) {
            writer.text(journal.moves[m_next].from);
            writer.text(journal.moves[m_next].to);
        }
        if (m_next == journal.moves.size()) {
            m_section = Section::NamesSum;
            m_next = 0;
        }
        return;
    case Section::NamesSum:
        settle();
        writer.u64(m_namesSum.value());
        m_summed = m_piece.size();
        m_section = Section::Started;
        return;
    case Section::Started:
        writer.u64(static_cast<std::uint64_t>(journal.started));
        m_section = Section::Identities;
        return;
    case Section::Identities:
        encodeIdentities();
        return;
    case Section::Temporaries:
        for (; m_next < journal.moves.size(); ++m_next) {
            if (!journal.moves[m_next].temporary.empty()) {
                writer.varint(m_next);
                writer.text(journal.moves[m_next++].temporary);
                break;
            }
        }
        if (m_next >= journal.moves.size()) {
            writer.u32(static_cast<std::uint32_t>(journal.plan.steps.size()));
            m_section = Section::Steps;
            m_next = 0;
        }
        return;
    case Section::Steps:
        for (; m_next < journal.plan.steps.size() && m_piece.size() < kPieceSize; ++m_next)
            writeStep(writer, journal.plan.steps[m_next]);
        if (m_next == journal.plan.steps.size()) {
            writer.u32(static_cast<std::uint32_t>(journal.plan.firstClosingStep));
            m_section = Section::Trailer;
        }
        return;
    case Section::Trailer:
    case Section::Done:
        return;
    }
}

// The piece's bytes since the last call go to the sum of the section they
// belong to: summed a piece at a time, not a field at a time.
void JournalEncoder::settle() {
    const std::string_view pending = std::string_view(m_piece).substr(m_summed);
    m_summed = m_piece.size();
    switch (m_section) {
    case Section::Names:
    case Section::NamesSum:
        m_namesSum.add(pending);
        return;
    case Section::Started:
    case Section::Identities:
    case Section::Temporaries:
    case Section::Steps:
    case Section::Trailer:
        m_planSum.add(pending);
        m_planSize += pending.size();
        return;
    case Section::Header:
    case Section::Done:
        return;
    }
}

std::string_view JournalEncoder::next() {
    if (m_section == Section::Done) {
        m_piece = std::string(); // all written: the buffer goes
        return {};
    }
    // A piece ends after the move or step that reaches the size.
    m_piece.reserve(kPieceSize + kPieceSize / 64);
    m_piece.clear();
    m_summed = 0;
    const auto paused = [this] { return m_section == Section::Started && !m_planReleased; };
    while (m_section != Section::Trailer && m_section != Section::Done &&
           m_piece.size() < kPieceSize && !paused())
        encodeSome();
    settle();
    if (m_section == Section::Trailer) {
        Writer writer(m_piece);
        writer.raw(kPlanTag);
        writer.u64(m_planSize);
        writer.u64(m_planSum.value());
        m_section = Section::Done;
    }
    return m_piece;
}

std::string closingRecord(std::uint64_t headerSum, std::uint64_t planSum) {
    return record(kClosingTag, headerSum, planSum);
}

std::string placeholdersRecord(std::uint64_t headerSum, std::uint64_t planSum) {
    return record(kPlaceholdersTag, headerSum, planSum);
}

std::string completeRecord(std::uint64_t headerSum, std::uint64_t planSum) {
    return record(kCompleteTag, headerSum, planSum);
}

} // namespace velmorandi
