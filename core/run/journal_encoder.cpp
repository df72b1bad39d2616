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

// The time, then every move's file number, a move a call.
void JournalEncoder::encodeIdentities() {
    Writer writer(m_piece);
    if (m_next == 0)
        writer.u64(static_cast<std::uint64_t>(m_journal.started));
    if (m_next < m_journal.moves.size()) {
        writer.varint(m_journal.moves[m_next++].identity);
        return;
    }
    // Few moves pass through a temporary name: only theirs are listed.
    writer.u32(static_cast<std::uint32_t>(
        std::count_if(m_journal.moves.begin(), m_journal.moves.end(),
                      [](const PlannedMove& move) { return !move.temporary.empty(); })));
    m_section = Section::Temporaries;
    m_next = 0;
}

void JournalEncoder::encodeSome() {
    const std::size_t start = m_piece.size();
    Writer writer(m_piece);
    const Journal& journal = m_journal;
    switch (m_section) {
    case Section::Header:
        encodeHeader();
        m_section = journal.moves.empty() ? Section::NamesSum : Section::Names;
        return;
    case Section::Names: {
        const PlannedMove& move = journal.moves[m_next++];
        writer.text(move.from);
        writer.text(move.to);
        if (m_next == journal.moves.size()) {
            m_section = Section::NamesSum;
            m_next = 0;
        }
        m_namesSum.add(std::string_view(m_piece).substr(start));
        return;
    }
    case Section::NamesSum:
        writer.u64(m_namesSum.value());
        m_section = Section::Plan;
        return;
    case Section::Plan:
        encodeIdentities();
        break;
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
        break;
    case Section::Steps:
        if (m_next < journal.plan.steps.size()) {
            writeStep(writer, journal.plan.steps[m_next++]);
        } else {
            writer.u32(static_cast<std::uint32_t>(journal.plan.firstClosingStep));
            m_section = Section::Trailer;
        }
        break;
    case Section::Trailer:
    case Section::Done:
        return;
    }
    const std::string_view added = std::string_view(m_piece).substr(start);
    m_planSum.add(added);
    m_planSize += added.size();
}

std::string_view JournalEncoder::next() {
    m_piece.clear();
    const auto paused = [this] { return m_section == Section::Plan && !m_planReleased; };
    while (m_section != Section::Trailer && m_section != Section::Done &&
           m_piece.size() < kPieceSize && !paused())
        encodeSome();
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
