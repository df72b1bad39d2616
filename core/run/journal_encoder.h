#pragma once

#include "run/journal.h"
#include "run/journal_bytes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmorandi {

// A journal in the present format, a piece at a time, so that a run of a
// million files never holds it whole: header and names first (written while
// the folder is checked), then, once continueWithPlan() is called, the plan.
class JournalEncoder {
  public:
    explicit JournalEncoder(const Journal& journal);
    // Empty once the names are given, until continueWithPlan(); then empty
    // once every byte has been given.
    std::string_view next();
    void continueWithPlan() { m_planReleased = true; }
    // Once every byte has been given: what the journal's records are bound to.
    std::uint64_t headerSum() const { return m_headerSum; }
    std::uint64_t planSum() const { return m_planSum.value(); }

  private:
    enum class Section {
        Header,
        Names,
        NamesSum,
        Started,
        Identities,
        Temporaries,
        Steps,
        Trailer,
        Done
    };
    void encodeSome();
    void encodeHeader();
    void encodeIdentities();
    void settle();
    const Journal& m_journal;
    std::string m_piece;
    Section m_section = Section::Header;
    bool m_planReleased = false;
    std::size_t m_next = 0;   // the next move or step
    std::size_t m_summed = 0; // bytes of the piece already added to their section's sum
    std::uint64_t m_headerSum = 0;
    journal_bytes::WordSum m_namesSum;
    journal_bytes::WordSum m_planSum;
    std::uint64_t m_planSize = 0;
};

// The records appended to a journal of the present format as the run goes on.
std::string closingRecord(std::uint64_t headerSum, std::uint64_t planSum);
std::string placeholdersRecord(std::uint64_t headerSum, std::uint64_t planSum);
std::string completeRecord(std::uint64_t headerSum, std::uint64_t planSum);

} // namespace velmorandi
