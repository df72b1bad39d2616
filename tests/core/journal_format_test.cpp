// Journals written byte by byte as docs/journal-format.md gives them: the
// present format is read as it says and is exactly what the encoder writes,
// and a run that crashed under a released format is recovered from it.
#include "run/journal_decoder.h"
#include "run/journal_encoder.h"
#include "run_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace velmorandi {
namespace {

// The document's common parts, written again here rather than taken from the code.
class Bytes {
  public:
    Bytes& u8(std::uint8_t value) { return little(value, 1); }
    Bytes& u32(std::uint32_t value) { return little(value, 4); }
    Bytes& u64(std::uint64_t value) { return little(value, 8); }
    Bytes& raw(std::string_view text) {
        m_bytes += text;
        return *this;
    }
    Bytes& text(std::string_view text) {
        return u32(static_cast<std::uint32_t>(text.size())).raw(text);
    }
    Bytes& varint(std::uint64_t value) {
        for (; value >= 0x80; value >>= 7)
            m_bytes.push_back(static_cast<char>((value & 0x7F) | 0x80));
        m_bytes.push_back(static_cast<char>(value));
        return *this;
    }
    const std::string& str() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }

  private:
    Bytes& little(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            m_bytes.push_back(static_cast<char>(value >> (8 * i)));
        return *this;
    }
    std::string m_bytes;
};

constexpr std::uint64_t kStart = 0xcbf29ce484222325ull;
constexpr std::uint64_t kPrime = 0x100000001b3ull;

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t hash = kStart;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * kPrime;
    return hash;
}

std::uint64_t wordSum(std::string_view bytes) {
    std::uint64_t hash = kStart;
    for (std::size_t at = 0; at < bytes.size(); at += 8) {
        std::uint64_t word = 0;
        for (std::size_t k = 0; k < 8 && at + k < bytes.size(); ++k)
            word |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[at + k]))
                    << (8 * k);
        hash = (hash ^ word) * kPrime;
    }
    return hash;
}

#ifdef _WIN32
const std::string kFolder = "C:\\Photos";
#else
const std::string kFolder = "/home/me/Photos";
#endif
const std::string kTemporary = ".velmorandi-0000abcd-1";

// A swap: b.jpg is parked, a.jpg takes its name, b.jpg takes a.jpg's.
void writeSteps(Bytes& bytes) {
    const auto step = [&](std::uint8_t op, std::uint32_t a, std::uint8_t stageA, std::uint32_t b,
                          std::uint8_t stageB) {
        const bool oneMove = a == b;
        bytes.u8(static_cast<std::uint8_t>(op | stageA << 1 | stageB << 3 | (oneMove ? 0x20 : 0)));
        bytes.varint(a);
        if (!oneMove)
            bytes.varint(b);
    };
    bytes.u32(3);
    step(0, 1, 0, 1, 1); // b.jpg -> temporary
    step(0, 0, 0, 0, 2); // a.jpg -> b.jpg
    step(0, 1, 1, 1, 2); // temporary -> a.jpg
    bytes.u32(2);        // the first closing step
}

constexpr std::uint64_t kBirth = 1'650'000'000'123'456'789ull;
constexpr std::uint64_t kStarted = 1'700'000'000'000'000'000ull;
const std::string kMark = "0123456789abcdef";
const std::string kVolume = "uuid 1234-ABCD";

// What a journal says of the folder it renamed in; by default one that is nowhere.
struct Subject {
    std::string folder = kFolder;
    std::uint8_t flags = 2; // file numbers last
    std::uint64_t folderNumber = 42;
    std::uint64_t birth = kBirth;
    std::string volume = kVolume;
    std::uint64_t started = kStarted;
    std::uint64_t numbers[2] = {11, 12};
};

// The present format without its records, and the sums they are bound to.
std::string fifthFormat(std::uint64_t& headerSum, std::uint64_t& planSum,
                        const Subject& subject = {}) {
    Bytes header;
    header.raw("VMRJNL05").u8(1).u8(subject.flags).u64(subject.folderNumber);
    header.u64(subject.birth).raw(kMark);
    header.text(subject.volume).text(subject.folder).text("").u32(2);
    headerSum = fnv1a(header.str());
    header.u64(headerSum);
    Bytes names;
    names.text("a.jpg").text("b.jpg").text("b.jpg").text("a.jpg");
    names.u64(wordSum(names.str()));
    Bytes plan;
    plan.u64(subject.started).varint(subject.numbers[0]).varint(subject.numbers[1]);
    plan.u32(1).varint(1).text(kTemporary);
    writeSteps(plan);
    planSum = wordSum(plan.str());
    const std::size_t planSize = plan.size();
    plan.raw("PLAN").u64(planSize).u64(planSum);
    return header.str() + names.str() + plan.str();
}

std::string record(std::string_view tag, std::uint64_t headerSum, std::uint64_t planSum) {
    Bytes bound;
    bound.raw(tag).u64(headerSum).u64(planSum);
    Bytes record;
    record.raw(tag).u64(fnv1a(bound.str())).raw("END\n");
    return record.str();
}

void expectTheSwap(const DecodedJournal& decoded) {
    ASSERT_EQ(decoded.state, JournalState::Whole);
    ASSERT_TRUE(decoded.journal);
    const Journal& journal = *decoded.journal;
    EXPECT_EQ(journal.kind, Journal::Kind::Rename);
    EXPECT_EQ(journal.folder, kFolder);
    EXPECT_TRUE(journal.subject.empty());
    EXPECT_EQ(journal.folderIdentity, (platform::FileIdentity{0, 42, std::int64_t(kBirth)}));
    EXPECT_EQ(journal.volume, kVolume);
    EXPECT_EQ(std::string(journal.mark.begin(), journal.mark.end()), kMark);
    EXPECT_FALSE(journal.traits.ignoresCase);
    EXPECT_TRUE(journal.traits.stableIdentities);
    EXPECT_EQ(journal.started, std::int64_t(kStarted));
    ASSERT_EQ(journal.moves.size(), 2u);
    EXPECT_EQ(journal.moves[0].from, "a.jpg");
    EXPECT_EQ(journal.moves[0].to, "b.jpg");
    EXPECT_EQ(journal.moves[0].temporary, "");
    EXPECT_EQ(journal.moves[0].identity, 11u);
    EXPECT_EQ(journal.moves[1].temporary, kTemporary);
    EXPECT_EQ(journal.moves[1].identity, 12u);
    ASSERT_EQ(journal.plan.steps.size(), 3u);
    EXPECT_EQ(journal.plan.steps[0].b.stage, Stage::Temporary);
    EXPECT_EQ(journal.plan.steps[2].a.stage, Stage::Temporary);
    EXPECT_EQ(journal.plan.steps[2].b.move, 1u);
    EXPECT_EQ(journal.plan.firstClosingStep, 2u);
    EXPECT_EQ(journal.closing, Mark::Present);
    EXPECT_EQ(journal.placeholders, Mark::Present);
    EXPECT_EQ(journal.complete, Mark::Present);
}

TEST(JournalFormat, ThePresentFormatReadsAsTheDocumentSaysAndNoOther) {
    std::uint64_t headerSum = 0;
    std::uint64_t planSum = 0;
    const std::string fifth = fifthFormat(headerSum, planSum);
    const std::string closing = record("CLOS", headerSum, planSum);
    const std::string placeholders = record("PLHD", headerSum, planSum);
    const std::string complete = record("DONE", headerSum, planSum);
    // The closing and placeholders records come in either order, before the complete one.
    expectTheSwap(decodeJournal(fifth + closing + placeholders + complete));
    expectTheSwap(decodeJournal(fifth + placeholders + closing + complete));
    EXPECT_NE(decodeJournal(fifth + complete + closing).journal->complete, Mark::Present);

    // The encoder writes exactly the document's bytes.
    const DecodedJournal decoded = decodeJournal(fifth);
    ASSERT_TRUE(decoded.journal);
    JournalEncoder encoder(*decoded.journal);
    std::string written;
    for (std::string_view piece = encoder.next(); !piece.empty(); piece = encoder.next())
        written += piece;
    encoder.continueWithPlan();
    for (std::string_view piece = encoder.next(); !piece.empty(); piece = encoder.next())
        written += piece;
    EXPECT_EQ(written, fifth);
    EXPECT_EQ(closingRecord(encoder.headerSum(), encoder.planSum()), closing);
    EXPECT_EQ(placeholdersRecord(encoder.headerSum(), encoder.planSum()), placeholders);
    EXPECT_EQ(completeRecord(encoder.headerSum(), encoder.planSum()), complete);

    // Another version's journal, older or newer, is never read as this one;
    // a magic outside the family is no journal at all.
    const std::pair<const char*, JournalState> others[]{
        {"VMRJNL01", JournalState::OtherFormat}, {"VMRJNL04", JournalState::OtherFormat},
        {"VMRJNL06", JournalState::NewerFormat}, {"VMRJNL10", JournalState::NewerFormat},
        {"VMRJNL0x", JournalState::Damaged},     {"XMRJNL05", JournalState::Damaged}};
    for (const auto& [magic, state] : others) {
        const DecodedJournal other = decodeJournal(magic + fifth.substr(8) + closing + complete);
        EXPECT_EQ(other.state, state) << magic;
        EXPECT_FALSE(other.journal);
        EXPECT_EQ(isNewerFormat(magic), state == JournalState::NewerFormat) << magic;
    }
}

// Each section checks itself: a byte changed anywhere in it is damage, bytes
// missing at its end a cut; a torn record at the very end is a torn append.
TEST(JournalFormat, EverySectionChecksItself) {
    std::uint64_t headerSum = 0;
    std::uint64_t planSum = 0;
    const std::string body = fifthFormat(headerSum, planSum);
    const std::string closing = record("CLOS", headerSum, planSum);
    for (std::size_t at = 0; at < body.size(); ++at) {
        std::string flipped = body;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
        EXPECT_NE(decodeJournal(flipped).state, JournalState::Whole) << "byte " << at;
        EXPECT_NE(decodeJournal(body.substr(0, at)).state, JournalState::Whole) << "cut at " << at;
    }
    for (std::size_t cut = 1; cut < closing.size(); ++cut) {
        const DecodedJournal torn = decodeJournal(body + closing.substr(0, cut));
        ASSERT_TRUE(torn.journal);
        EXPECT_EQ(torn.journal->closing, Mark::Absent) << cut;
    }
    std::string damaged = body + closing;
    damaged[body.size() + 6] ^= 0x01;
    EXPECT_EQ(decodeJournal(damaged).journal->closing, Mark::Damaged);
    // Another journal's record counts for nothing here.
    EXPECT_EQ(decodeJournal(body + record("CLOS", headerSum + 1, planSum)).journal->closing,
              Mark::Damaged);
}

// A folder of the disk as the journal of the swap names it: where file numbers
// last, the numbers the system gave it and its files; elsewhere, its names tell.
Subject subjectOf(const testing::TempFolder& folder) {
    Subject subject;
    subject.folder = folder.path();
    subject.birth = 0;
    subject.volume.clear();
    subject.started =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                       std::chrono::system_clock::now().time_since_epoch())
                                       .count());
#ifdef _WIN32
    subject.flags = 1; // letter case ignored, no lasting numbers
    subject.folderNumber = 0;
    subject.numbers[0] = subject.numbers[1] = 0;
#else
    const auto number = [](const std::string& path) -> std::uint64_t {
        struct stat status {};
        EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
        return status.st_ino;
    };
    subject.folderNumber = number(folder.path());
    subject.numbers[0] = number(folder.at("a.jpg"));
    subject.numbers[1] = number(folder.at("b.jpg"));
#endif
    return subject;
}

// The swap's steps, made by hand as a run of the version that wrote the journal made them.
void makeSteps(const testing::TempFolder& folder, std::size_t made) {
    const std::pair<const char*, const char*> steps[]{
        {"b.jpg", kTemporary.c_str()}, {"a.jpg", "b.jpg"}, {kTemporary.c_str(), "a.jpg"}};
    for (std::size_t k = 0; k < made; ++k)
        std::filesystem::rename(testing::fileSystemPath(folder.at(steps[k].first)),
                                testing::fileSystemPath(folder.at(steps[k].second)));
}

// Every format a released version wrote stays readable: a user who installs a
// newer version after a crash gets every name back, and a finished run stays
// undoable. Here the first released format, written from the document's
// tables, is met by the next start after each step of a crashed run (with
// the marks the run writes by then), and after the run finished.
TEST(JournalFormat, ACrashedRunOfAReleasedFormatIsRecoveredFromIt) {
    const testing::TempFolder parent;
    const char* const kRecord = "run-00000000000000000001-000000.journal";
    for (std::size_t made = 0; made <= 4; ++made) {
        const bool finished = made >= 3;
        const bool markedComplete = made == 4;
        SCOPED_TRACE(markedComplete ? std::string("complete")
                                    : std::to_string(made) + " steps made");
        const testing::TempFolder folder(parent.path(), {"a.jpg", "b.jpg"});
        const testing::Snapshot before = folder.snapshot();
        const Subject subject = subjectOf(folder);
        std::uint64_t headerSum = 0;
        std::uint64_t planSum = 0;
        std::string journal = fifthFormat(headerSum, planSum, subject);
        // The closing mark comes before the first closing step, where numbers do not last.
        if (made >= 2 && !(subject.flags & 2))
            journal += record("CLOS", headerSum, planSum);
        if (markedComplete)
            journal += record("DONE", headerSum, planSum);
        makeSteps(folder, std::min<std::size_t>(made, 3));
        const testing::Snapshot crashed = folder.snapshot();
        testing::TestRecords records;
        std::ofstream(testing::fileSystemPath(records.path() + "/" + kRecord), std::ios::binary)
            << journal;

        const RecoveryReport report = RecoverInterruptedRuns(records.control());
        EXPECT_FALSE(testing::troubled(report)) << testing::describe(report);
        if (!finished) {
            EXPECT_EQ(folder.snapshot(), before);
            EXPECT_TRUE(records.entries().empty()) << "the record ends";
            continue;
        }
        EXPECT_TRUE(report.empty()) << testing::describe(report);
        EXPECT_EQ(folder.snapshot(), crashed);
        ASSERT_TRUE(CanUndo(folder.path(), records.control()));
        const RunResult undone = ExecuteUndo(folder.path(), records.control());
        EXPECT_EQ(undone.outcome, RunOutcome::Completed) << testing::describe(undone.news);
        EXPECT_EQ(folder.snapshot(), before);
        const std::vector<std::string> left = records.entries();
        EXPECT_EQ(std::count(left.begin(), left.end(), kRecord), 0) << "the record ends";
    }
}

} // namespace
} // namespace velmorandi
