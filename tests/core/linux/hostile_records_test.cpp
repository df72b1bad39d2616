// Records another user could have written, or that are not plain files of the
// user's own: nothing is renamed from them, nothing outside the journaled
// folder is touched, nothing is deleted, and each is reported.
#include "run/journal_encoder.h"
#include "run_folder.h"
#include "run_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace velmorandi {
namespace {

using testing::Snapshot;
using testing::TempFolder;
using testing::TestRecords;

const std::string kRecordName = "run-00000000000000000001-000000.journal";

// A journal with good sums whatever it says, as a hand that knows the format would write it.
std::string journalOf(const std::string& folder, std::vector<PlannedMove> moves) {
    Journal journal;
    journal.folder = folder;
    journal.traits.stableIdentities = false;
    journal.moves = std::move(moves);
    journal.plan.steps.push_back({RunStep::Op::Rename, {0, Stage::From}, {0, Stage::To}});
    journal.plan.firstClosingStep = 1;
    JournalEncoder encoder(journal);
    std::string bytes;
    for (std::string_view piece = encoder.next(); !piece.empty(); piece = encoder.next())
        bytes += piece;
    encoder.continueWithPlan();
    for (std::string_view piece = encoder.next(); !piece.empty(); piece = encoder.next())
        bytes += piece;
    return bytes;
}

struct Case {
    const char* label;
    // Puts the hostile entry into the folder of records.
    std::function<void(const std::string& records, const std::string& journaled,
                       const std::string& victim)>
        plant;
};

TEST(HostileRecords, NothingOutsideTheJournaledFolderIsEverTouched) {
    TempFolder parent;
    const std::string victim = parent.at("victim");
    std::filesystem::create_directory(victim);
    std::ofstream(victim + "/keepme.txt") << "kept";
    std::ofstream(victim + "/authorized_keys") << "keys";
    const auto write = [](const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    };
    std::vector<Case> cases{
        {"a name that climbs out",
         [&](const std::string& records, const std::string& journaled, const std::string&) {
             write(records + "/" + kRecordName,
                   journalOf(journaled, {{"a.txt", "../victim/keepme.txt", {}, 0, 0}}));
         }},
        {"a name that is a whole path",
         [&](const std::string& records, const std::string& journaled, const std::string& v) {
             write(records + "/" + kRecordName,
                   journalOf(journaled, {{v + "/keepme.txt", "a.txt", {}, 0, 0}}));
         }},
        {"a folder that is no whole path",
         [&](const std::string& records, const std::string&, const std::string&) {
             write(records + "/" + kRecordName,
                   journalOf("victim", {{"keepme.txt", "gone.txt", {}, 0, 0}}));
         }},
        {"a pipe",
         [&](const std::string& records, const std::string&, const std::string&) {
             ASSERT_EQ(::mkfifo((records + "/" + kRecordName).c_str(), 0600), 0);
         }},
        {"a pipe named like an unfinished record",
         [&](const std::string& records, const std::string&, const std::string&) {
             ASSERT_EQ(
                 ::mkfifo((records + "/run-00000000000000000001-000000.unsealed").c_str(), 0600),
                 0);
         }},
        {"a journal of another version's",
         [&](const std::string& records, const std::string& journaled, const std::string&) {
             std::string bytes = journalOf(journaled, {{"a.txt", "gone.txt", {}, 0, 0}});
             bytes.replace(0, 8, "VMRJNL04");
             write(records + "/" + kRecordName, bytes);
         }},
        {"a link to a journal elsewhere",
         [&](const std::string& records, const std::string&, const std::string& v) {
             const std::string elsewhere = records + "/../elsewhere.journal";
             write(elsewhere, journalOf(v, {{"keepme.txt", "authorized_keys.old", {}, 0, 0}}));
             std::filesystem::create_symlink(elsewhere, records + "/" + kRecordName);
         }},
        {"a journal of another user's",
         [&](const std::string& records, const std::string&, const std::string& v) {
             const std::string path = records + "/" + kRecordName;
             write(path, journalOf(v, {{"keepme.txt", "gone.txt", {}, 0, 0}}));
             if (::geteuid() == 0)
                 ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
             else
                 ::chmod(path.c_str(), 0622); // as near as a user can come: others may write it
         }},
    };
    for (const Case& hostile : cases) {
        SCOPED_TRACE(hostile.label);
        TempFolder journaled(parent.path(), {"a.txt", "b.txt"});
        const Snapshot victimBefore = TempFolder::snapshotOf(victim);
        const Snapshot journaledBefore = journaled.snapshot();
        TestRecords records;
        hostile.plant(records.path(), journaled.path(), victim);
        const RecoveryReport report = RecoverInterruptedRuns(records.control());
        ASSERT_EQ(report.notes.size(), 1u) << testing::describe(report);
        EXPECT_TRUE(report.notes[0].record.starts_with(records.path()));
        EXPECT_EQ(TempFolder::snapshotOf(victim), victimBefore);
        EXPECT_EQ(journaled.snapshot(), journaledBefore);
        EXPECT_FALSE(records.entries().empty());                        // set aside, never deleted
        EXPECT_TRUE(RecoverInterruptedRuns(records.control()).empty()); // told once
    }
}

// A newer version's journal, sealed or not, is that version's to read: it
// stays where it is, nothing is renamed from it, and every start says so.
TEST(HostileRecords, NewerVersionsJournalIsKeptAndTold) {
    TempFolder parent;
    TempFolder journaled(parent.path(), {"a.txt", "b.txt"});
    const Snapshot before = journaled.snapshot();
    TestRecords records;
    std::string bytes = journalOf(journaled.path(), {{"a.txt", "gone.txt", {}, 0, 0}});
    bytes.replace(0, 8, "VMRJNL06");
    const std::string unsealed = "run-00000000000000000002-000000.unsealed";
    for (const std::string& name : {kRecordName, unsealed})
        std::ofstream(records.path() + "/" + name, std::ios::binary) << bytes;
    for (int start = 0; start < 2; ++start) {
        const RecoveryReport report = RecoverInterruptedRuns(records.control());
        EXPECT_EQ(testing::notesOf(report, RecoveryNote::Kind::NewerFormat), 2u)
            << testing::describe(report);
        EXPECT_EQ(report.notes.size(), 2u);
        EXPECT_EQ(journaled.snapshot(), before);
        EXPECT_TRUE(std::filesystem::exists(records.path() + "/" + kRecordName));
        EXPECT_TRUE(std::filesystem::exists(records.path() + "/" + unsealed));
    }
}

// A folder of records other users may write to is not used at all: no run
// starts, and nothing waiting in it is rolled back.
TEST(HostileRecords, FolderOthersMayWriteIsNotUsed) {
    TempFolder parent;
    TempFolder folder(parent.path(), {"a.txt"});
    const Snapshot before = folder.snapshot();
    const std::string path = parent.at("state");
    std::filesystem::create_directory(path);
    ::chmod(path.c_str(), 0777);
    const JournalStore records = JournalStore::at(path);
    ASSERT_TRUE(records.problem());
    RunControl control;
    control.records = &records;
    const RunResult refused = ExecuteRun(runRequest(folder, {{"a.txt", "b.txt"}}), control);
    EXPECT_NE(refused.outcome, RunOutcome::Completed);
    EXPECT_EQ(refused.news.kind, RunNews::Kind::NothingRenamed);
    ASSERT_EQ(refused.news.failure.kind, RunFailure::Kind::RecordsUnusable);
    ASSERT_TRUE(refused.news.failure.problem);
    EXPECT_EQ(refused.news.failure.problem->kind,
              platform::RecordFolderProblem::Kind::OthersMayWrite);
    EXPECT_EQ(refused.news.failure.problem->folder, path);
    EXPECT_EQ(folder.snapshot(), before);
    const RecoveryReport report = RecoverInterruptedRuns(control);
    ASSERT_TRUE(report.recordsUnusable);
    EXPECT_EQ(report.recordsUnusable->kind, platform::RecordFolderProblem::Kind::OthersMayWrite);
    EXPECT_EQ(report.recordsUnusable->folder, path);
    EXPECT_FALSE(CanUndo(folder.path(), control));

    // Root meeting a user's folder (sudo -E) is told to start as that user,
    // never to hand the folder to root.
    if (::geteuid() != 0)
        return;
    ::chmod(path.c_str(), 0700);
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    const JournalStore theirs = JournalStore::at(path);
    control.records = &theirs;
    const RecoveryReport told = RecoverInterruptedRuns(control);
    ASSERT_TRUE(told.recordsUnusable);
    EXPECT_EQ(told.recordsUnusable->kind, platform::RecordFolderProblem::Kind::OtherOwner);
    EXPECT_TRUE(told.recordsUnusable->runningAsAdministrator);
    EXPECT_FALSE(told.recordsUnusable->ownerIsAdministrator);
}

// Without HOME the records have no place: the message says where they would
// go and why they cannot, and nothing is renamed.
TEST(HostileRecords, NoHomeSaysWhereTheRecordsWouldGo) {
    TempFolder parent;
    TempFolder folder(parent.path(), {"a.txt"});
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const std::string state = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    ::unsetenv("HOME");
    ::unsetenv("XDG_STATE_HOME");
    const JournalStore records = JournalStore::ofUser();
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    RunControl control;
    control.records = &records;
    const RunResult refused = ExecuteRun(runRequest(folder, {{"a.txt", "b.txt"}}), control);
    EXPECT_EQ(refused.outcome, RunOutcome::Failed);
    ASSERT_TRUE(refused.news.failure.problem) << testing::describe(refused.news);
    EXPECT_EQ(refused.news.failure.problem->kind, platform::RecordFolderProblem::Kind::NoLocation);
    EXPECT_EQ(refused.news.failure.problem->folder, "~/.local/state/velmorandi");
    EXPECT_EQ(refused.news.failure.problem->unsetVariables,
              (std::vector<std::string>{"HOME", "XDG_STATE_HOME"}));
    EXPECT_EQ(folder.snapshot(), (Snapshot{{"a.txt", "content of a.txt"}}));
}

} // namespace
} // namespace velmorandi
