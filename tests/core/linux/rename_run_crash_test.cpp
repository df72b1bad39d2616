// Runs on what only Linux offers: a FUSE exFAT drive, and processes killed or running side by side.
#include "another_process.h"
#include "paused_child.h"
#include "platform/record_lease.h"
#include "power_cut.h"
#include "run_sweep.h"
#include "sshfs_mounts.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmorandi {
namespace {

using testing::Child;
using testing::endOf;
using testing::kModes;
using testing::Mode;
using testing::Moves;
using testing::PauseAfter;
using testing::Scenario;
using testing::scenarios;
using testing::Snapshot;
using testing::SshfsMounts;
using testing::startChild;
using testing::sweep;
using testing::TempFolder;
using testing::testingFor;
using testing::TestRecords;
using testing::waitUntilPaused;

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A FUSE exFAT drive: no exchange, no lasting file numbers, letter case ignored.
class ExfatMount {
  public:
    ExfatMount() {
        if (::geteuid() != 0) {
            m_skipReason = "a loop device needs root";
            return;
        }
        if (std::system("command -v mount.exfat-fuse && command -v mkfs.exfat && "
                        "command -v losetup") != 0) {
            m_skipReason = "exfat-fuse, exfatprogs or losetup is not installed";
            return;
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmorandi-exfat-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            m_skipReason = "no temporary folder";
            return;
        }
        m_folder = pattern;
        m_mountPoint = m_folder + "/drive";
        std::filesystem::create_directory(m_mountPoint);
        if (!run("truncate -s 16M " + image() + " && mkfs.exfat " + image())) {
            m_skipReason = "mkfs.exfat failed";
            return;
        }
        if (!plugIn())
            m_skipReason = "the machine does not allow a loop device or a FUSE mount";
    }
    ~ExfatMount() {
        pullOut();
        std::error_code ignored;
        if (!m_folder.empty())
            std::filesystem::remove_all(m_folder, ignored);
    }
    const std::string& skipReason() const { return m_skipReason; }
    const std::string& path() const { return m_mountPoint; }

    // The drive pulled out, and plugged in again (on whatever loop device is free).
    void pullOut() {
        if (m_mounted)
            run("umount " + m_mountPoint);
        if (!m_device.empty())
            run("losetup -d " + m_device);
        m_mounted = false;
        m_device.clear();
    }
    bool plugIn() {
        FILE* loop = ::popen(("losetup -f --show " + image()).c_str(), "r");
        char device[64] = {};
        if (loop && std::fgets(device, sizeof device, loop))
            m_device = std::string(device).substr(0, std::string(device).find('\n'));
        if (loop)
            ::pclose(loop);
        m_mounted = !m_device.empty() && run("mount.exfat-fuse " + m_device + " " + m_mountPoint);
        return m_mounted;
    }

  private:
    std::string image() const { return m_folder + "/image"; }
    std::string m_folder;
    std::string m_mountPoint;
    std::string m_device;
    std::string m_skipReason;
    bool m_mounted = false;
};

TEST(RenameRun, EveryCallFailedOrCrashedOnExfatLeavesTheFolderAsBefore) {
    const ExfatMount drive;
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    // Letter case and exchange are the drive's own here, not the test's.
    for (const Scenario& scenario : scenarios())
        sweep(drive.path(), scenario, Mode{"exFAT"});
}

// The power goes after call k of the run: at the next start every file gets
// its old name back, or the run stands complete and can be undone.
void powerCutAfter(const std::string& parent, const Scenario& scenario, const Mode& mode,
                   testing::Stream stream, std::size_t k) {
    SCOPED_TRACE("power cut after call " + std::to_string(k) + " of the " +
                 testing::nameOf(stream) + " stream");
    TempFolder folder(parent, scenario.files);
    TestRecords records;
    const Snapshot before = folder.snapshot();
    testing::CallSweep crash(testing::CallSweep::kNever, k, stream);
    testing::PowerCut power(folder.path(), records.path());
    RunTesting testing = testingFor(scenario, mode);
    testing.seam = power.around(crash.seam());
    testing::runCutShort(runRequest(folder, scenario.moves), records.control(&testing));
    power.cut();
    const RecoveryReport report = testing::recover(records, scenario, mode);
    EXPECT_FALSE(testing::troubled(report)) << testing::describe(report);
    const Snapshot after = folder.snapshot();
    const bool complete = after == testing::afterMoves(before, scenario.moves);
    EXPECT_TRUE(complete || after == before) << testing::describe(report);
    EXPECT_EQ(CanUndo(folder.path(), records.control()), complete);
    EXPECT_TRUE(testing::recover(records, scenario, mode).empty());
}

void powerCutSweep(const std::string& parent, const Scenario& scenario, const Mode& mode) {
    SCOPED_TRACE(std::string(scenario.label) + ", " + mode.label + ", in " + parent);
    if (!scenario.taken.empty())
        return;
    testing::SweepRun reference;
    {
        TempFolder folder(parent, scenario.files);
        TestRecords records;
        testing::CallSweep counting(testing::CallSweep::kNever, testing::CallSweep::kNever);
        reference = testing::runWith(folder, records, scenario, mode, counting);
        ASSERT_EQ(reference.result.outcome, RunOutcome::Completed);
    }
    for (const testing::Stream stream : testing::kStreams) {
        const std::vector<DiskCall>& kinds = reference.of(stream);
        for (std::size_t k = stream == testing::Stream::Run ? 0 : 1; k <= kinds.size(); ++k)
            if (testing::newCrashPoint(kinds, k))
                powerCutAfter(parent, scenario, mode, stream, k);
    }
}

// On a disk, not in memory: the model is the test's, but the calls are real.
TEST(RenameRun, PowerCutAfterEveryCallLeavesTheFolderAsBeforeOrComplete) {
    const TempFolder parent(TempFolder::onDisk);
    for (const Scenario& scenario : scenarios())
        for (const Mode& mode : kModes)
            powerCutSweep(parent.path(), scenario, mode);
}

TEST(RenameRun, PowerCutAfterEveryCallOnExfatLeavesTheFolderAsBeforeOrComplete) {
    const ExfatMount drive;
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    for (const Scenario& scenario : scenarios())
        powerCutSweep(drive.path(), scenario, Mode{"exFAT"});
}

// A child process renumbers 10,000 files by one and swaps 5,000 pairs; it is
// killed once it has made `steps` steps. Recovery gives every file its name back.
void killAndRecover(std::size_t steps, const Mode& mode) {
    SCOPED_TRACE(std::string(mode.label) + ", killed after " + std::to_string(steps));
    constexpr std::size_t kChain = 10'000;
    constexpr std::size_t kPairs = 5'000;
    std::vector<std::string> names;
    Moves moves;
    for (std::size_t i = 0; i < kChain; ++i) {
        names.push_back("n" + std::to_string(i));
        moves.emplace_back(names.back(), "n" + std::to_string(i + 1));
    }
    for (std::size_t i = 0; i < kPairs; ++i) {
        names.push_back("s" + std::to_string(2 * i));
        names.push_back("s" + std::to_string(2 * i + 1));
        moves.emplace_back(names[names.size() - 2], names.back());
        moves.emplace_back(names.back(), names[names.size() - 2]);
    }
    // Memory-backed where there is such a folder: creating 20,000 files on a
    // busy disk takes longer than the whole test should.
    const std::string parent = std::filesystem::is_directory("/dev/shm")
                                   ? "/dev/shm"
                                   : std::filesystem::temp_directory_path().string();
    TempFolder folder(parent, names);
    const Snapshot before = folder.snapshot();
    const RunRequest request = runRequest(folder, moves);

    TestRecords records;
    const RunTesting testing = testingFor(Scenario{}, mode);
    Child child = startChild([&](const std::function<void()>& pause) {
        PauseAfter observer(steps, pause);
        RunControl control = records.control(&testing);
        control.observer = &observer;
        testing::runCutShort(request, control);
    });
    ASSERT_GE(child.pid, 0);
    EXPECT_TRUE(waitUntilPaused(child));
    EXPECT_TRUE(WIFSIGNALED(endOf(child, true)));

    const RecoveryReport report = RecoverInterruptedRuns(records.control(&testing));
    ASSERT_EQ(report.notes.size(), 1u) << testing::describe(report);
    EXPECT_EQ(report.notes[0].kind, RecoveryNote::Kind::Restored);
    EXPECT_EQ(report.notes[0].files, steps);
    EXPECT_EQ(folder.snapshot(), before);
}

TEST(RenameRun, KilledRunIsRolledBackAtTheNextStart) {
    for (const Mode& mode : {kModes[0], kModes[2]})
        for (const std::size_t steps : {1u, 4'000u, 9'999u})
            killAndRecover(steps, mode);
}

// A seam that lets the `count`-th call of a kind be made, then waits there.
DiskSeam pauseAfter(DiskCall kind, int count, const std::function<void()>& pause) {
    auto seen = std::make_shared<int>(0);
    return [=](DiskCall call, std::string_view, std::string_view,
               const std::function<std::optional<SystemError>()>& perform) {
        std::optional<SystemError> result = perform();
        if (call == kind && ++*seen == count)
            pause();
        return result;
    };
}

// The placeholder that exFAT needs for a rename is made and marked, and the
// process is killed before the rename onto it: the next start finds the
// run's placeholder beside the file that holds the data, removes it, and puts
// every name back.
TEST(RenameRun, KilledBetweenPlaceholderAndRenameOnExfat) {
    const ExfatMount drive;
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    const testing::Moves moves{{"File0009.JPG", "File0010.JPG"},
                               {"File0010.JPG", "File0011.JPG"},
                               {"IMG_0003.JPG", "img_0003.jpg"}};
    for (int placeholder = 1; placeholder <= 4; ++placeholder) {
        SCOPED_TRACE("killed after placeholder " + std::to_string(placeholder));
        TempFolder folder(drive.path(), {"File0009.JPG", "File0010.JPG", "IMG_0003.JPG"});
        const Snapshot before = folder.snapshot();
        TestRecords records;
        const RunRequest request = runRequest(folder, moves);
        Child child = startChild([&](const std::function<void()>& pause) {
            RunTesting testing;
            testing.seam = pauseAfter(DiskCall::MarkPlaceholder, placeholder, pause);
            testing::runCutShort(request, records.control(&testing));
        });
        ASSERT_GE(child.pid, 0);
        ASSERT_TRUE(waitUntilPaused(child));
        EXPECT_TRUE(WIFSIGNALED(endOf(child, true)));
        const RecoveryReport report = RecoverInterruptedRuns(records.control());
        EXPECT_FALSE(testing::troubled(report)) << testing::describe(report);
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_TRUE(RecoverInterruptedRuns(records.control()).empty());
    }
}

// Stopped after `stopAfter` calls (`failing` failed first, where set), at a
// placeholder made and not yet marked, and, with `cutShort`, its mark cut
// short: the next start asks about that one file, and its answer puts the
// folder right.
void stopBeforeMark(const std::string& parent, const Scenario& scenario, std::size_t failing,
                    std::size_t stopAfter, bool cutShort) {
    SCOPED_TRACE(std::string(scenario.label) + (cutShort ? ", cut short" : ", empty") +
                 " after call " + std::to_string(stopAfter) +
                 (failing == testing::CallSweep::kNever
                      ? std::string()
                      : ", in the rollback of a failure at " + std::to_string(failing)));
    TempFolder folder(parent, scenario.files);
    TestRecords records;
    const Snapshot before = folder.snapshot();
    testing::CallSweep stop(failing, stopAfter);
    testing::runWith(folder, records, scenario, Mode{"exFAT"}, stop);
    std::size_t empty = 0;
    for (const auto& [name, content] : folder.snapshot())
        if (content.empty() && ++empty && cutShort)
            std::ofstream(folder.at(name), std::ios::binary) << "VMRPL";
    ASSERT_EQ(empty, 1u);
    std::size_t asked = 0;
    const RecoveryReport report =
        testing::recoverAnswering(folder, records, scenario, Mode{"exFAT"}, before, &asked);
    EXPECT_GE(asked, 1u);
    EXPECT_FALSE(testing::troubled(report)) << testing::describe(report);
    EXPECT_EQ(folder.snapshot(), before);
    EXPECT_EQ(records.entries(), std::vector<std::string>{});
}

// A kill between making a placeholder and writing its mark, in a run and in
// the rollback of a run that failed at any of its calls: every such point.
TEST(RenameRun, KilledBeforeEveryPlaceholderMarkOnExfatAsksAboutTheEmptyFile) {
    const ExfatMount drive;
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    constexpr std::size_t kNever = testing::CallSweep::kNever;
    const auto marks = [&](const Scenario& scenario, std::size_t failing) {
        TempFolder folder(drive.path(), scenario.files);
        TestRecords records;
        testing::CallSweep counting(failing, kNever);
        return testing::runWith(folder, records, scenario, Mode{"exFAT"}, counting).kinds;
    };
    for (const Scenario& scenario : scenarios()) {
        if (!scenario.taken.empty())
            continue;
        const std::vector<DiskCall> run = marks(scenario, kNever);
        for (std::size_t k = 1; k <= run.size(); ++k) {
            if (run[k - 1] == DiskCall::CreatePlaceholder)
                stopBeforeMark(drive.path(), scenario, kNever, k, k % 2 == 0);
            if (run[k - 1] != DiskCall::RenameOntoPlaceholder)
                continue;
            const std::vector<DiskCall> failed = marks(scenario, k);
            for (std::size_t m = k + 1; m <= failed.size(); ++m)
                if (failed[m - 1] == DiskCall::CreatePlaceholder)
                    stopBeforeMark(drive.path(), scenario, k, m, m % 2 == 0);
        }
    }
    // A process killed there, rather than its calls cut off.
    const testing::Moves moves{{"File0009.JPG", "File0010.JPG"},
                               {"File0010.JPG", "File0011.JPG"},
                               {"IMG_0003.JPG", "img_0003.jpg"}};
    const Scenario photos{"photos", {"File0009.JPG", "File0010.JPG", "IMG_0003.JPG"}, moves};
    for (int placeholder = 1; placeholder <= 4; ++placeholder) {
        SCOPED_TRACE("killed after placeholder " + std::to_string(placeholder));
        TempFolder folder(drive.path(), photos.files);
        const Snapshot before = folder.snapshot();
        TestRecords records;
        const RunRequest request = runRequest(folder, moves);
        Child child = startChild([&](const std::function<void()>& pause) {
            RunTesting testing;
            testing.seam = pauseAfter(DiskCall::CreatePlaceholder, placeholder, pause);
            testing::runCutShort(request, records.control(&testing));
        });
        ASSERT_GE(child.pid, 0);
        ASSERT_TRUE(waitUntilPaused(child));
        EXPECT_TRUE(WIFSIGNALED(endOf(child, true)));
        std::size_t asked = 0;
        const RecoveryReport report =
            testing::recoverAnswering(folder, records, photos, Mode{"exFAT"}, before, &asked);
        EXPECT_EQ(asked, 1u);
        EXPECT_FALSE(testing::troubled(report)) << testing::describe(report);
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_TRUE(RecoverInterruptedRuns(records.control()).empty());
    }
}

// Another program makes a file under a new name after the check and before
// the step: on a drive that cannot refuse a taken name in one call, the step
// still never replaces it, and every file gets its name back.
TEST(RenameRun, NameTakenBetweenCheckAndStepIsNeverReplacedOnExfat) {
    const ExfatMount drive;
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    TempFolder folder(drive.path(), {"a.jpg", "b.jpg", "c.jpg"});
    const Snapshot before = folder.snapshot();
    TestRecords records;
    RunTesting testing;
    bool taken = false;
    testing.seam = [&](DiskCall call, std::string_view a, std::string_view b,
                       const std::function<std::optional<SystemError>()>& perform) {
        const bool stepBegins = call == DiskCall::CreatePlaceholder || call == DiskCall::Link ||
                                call == DiskCall::Rename;
        if (stepBegins && !taken && (a == "y.jpg" || b == "y.jpg")) {
            taken = testing::succeedsInAnotherProcess([&] {
                std::ofstream(folder.path() + "/y.jpg") << "theirs";
                return true;
            });
        }
        return perform();
    };
    const RunResult result =
        ExecuteRun(runRequest(folder, {{"a.jpg", "x.jpg"}, {"b.jpg", "y.jpg"}, {"c.jpg", "z.jpg"}}),
                   records.control(&testing));
    ASSERT_TRUE(taken);
    EXPECT_EQ(result.outcome, RunOutcome::Failed);
    Snapshot expected = before;
    expected["y.jpg"] = "theirs";
    EXPECT_EQ(folder.snapshot(), expected);
}

// A run interrupted on exFAT, its folder then moved and a copy made in its
// place: the copy's files are younger than the run, so nothing in it is
// renamed and the record waits; opening the moved folder puts it right.
TEST(RenameRun, CopyInTheFoldersPlaceIsLeftAloneOnExfat) {
    const ExfatMount drive;
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    TempFolder folder(drive.path(), {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    const Snapshot before = folder.snapshot();
    TestRecords records;
    RunTesting testing;
    testing::CallSweep crash(testing::callsOf(DiskCall::RenameOntoPlaceholder), 1);
    testing.seam = crash.seam();
    testing::runCutShort(
        runRequest(
            folder,
            {{"a.jpg", "p.jpg"}, {"b.jpg", "q.jpg"}, {"c.jpg", "r.jpg"}, {"d.jpg", "s.jpg"}}),
        records.control(&testing));
    const Snapshot half = folder.snapshot();
    ASSERT_NE(half, before);
    const std::string moved = folder.path() + "-old";
    std::filesystem::rename(folder.path(), moved);
    std::filesystem::copy(moved, folder.path());
    // A copy made later bears later times (both set at once: the drive ignores one alone).
    const struct timespec later[2] = {{::time(nullptr) + 3600, 0}, {::time(nullptr) + 3600, 0}};
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ASSERT_EQ(::utimensat(AT_FDCWD, entry.path().c_str(), later, 0), 0);

    const RecoveryReport report = RecoverInterruptedRuns(records.control());
    ASSERT_EQ(report.notes.size(), 1u) << testing::describe(report);
    EXPECT_EQ(report.notes[0].folder, folder.path());
    EXPECT_EQ(folder.snapshot(), half);
    EXPECT_EQ(TempFolder::snapshotOf(moved), half);
    EXPECT_FALSE(RecoverMovedRun(moved, records.control()).empty());
    EXPECT_EQ(TempFolder::snapshotOf(moved), before);
    EXPECT_EQ(folder.snapshot(), half);
    std::filesystem::remove_all(moved);
}

// A copy with the times of the files it copies, as cp -a makes it.
void copyKeepingTimes(const std::string& from, const std::string& to) {
    std::filesystem::copy(from, to);
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
        struct stat status {};
        ASSERT_EQ(::stat(entry.path().c_str(), &status), 0);
        const struct timespec times[2] = {status.st_atim, status.st_mtim};
        const std::string copied = to + "/" + entry.path().filename().string();
        ASSERT_EQ(::utimensat(AT_FDCWD, copied.c_str(), times, 0), 0);
    }
}

// A run interrupted on exFAT, where neither file numbers nor births tell a
// folder from its copy. A backup made before the run, opened while the drive
// is away, shows no step of the run and is left alone; a copy made on the
// drive after the crash is put right; only the folder itself, back on its
// drive, ends the record.
TEST(RenameRun, CopiesAndBackupsNeverEndTheRecordOnExfat) {
    ExfatMount drive;
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    TempFolder folder(drive.path(), {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    const Snapshot before = folder.snapshot();
    const TempFolder elsewhere;
    const std::string backup = elsewhere.at("backup");
    copyKeepingTimes(folder.path(), backup);
    TestRecords records;
    RunTesting testing;
    testing::CallSweep crash(testing::callsOf(DiskCall::RenameOntoPlaceholder), 1);
    testing.seam = crash.seam();
    testing::runCutShort(
        runRequest(
            folder,
            {{"a.jpg", "p.jpg"}, {"b.jpg", "q.jpg"}, {"c.jpg", "r.jpg"}, {"d.jpg", "s.jpg"}}),
        records.control(&testing));
    const Snapshot half = folder.snapshot();
    ASSERT_NE(half, before);
    const std::string copy = folder.path() + "-copy";
    copyKeepingTimes(folder.path(), copy);

    drive.pullOut();
    const RecoveryReport away = RecoverInterruptedRuns(records.control());
    ASSERT_EQ(away.notes.size(), 1u) << testing::describe(away);
    EXPECT_EQ(away.notes[0].folder, folder.path());
    EXPECT_TRUE(RecoverMovedRun(backup, records.control()).empty());
    EXPECT_EQ(TempFolder::snapshotOf(backup), before);
    ASSERT_TRUE(drive.plugIn());
    const RecoveryReport copied = RecoverMovedRun(copy, records.control());
    EXPECT_EQ(TempFolder::snapshotOf(copy), before) << testing::describe(copied);
    ASSERT_EQ(copied.notes.size(), 1u) << testing::describe(copied);
    EXPECT_TRUE(copied.notes[0].record.starts_with(records.path()));
    EXPECT_EQ(folder.snapshot(), half);
    EXPECT_FALSE(records.entries().empty());

    EXPECT_FALSE(RecoverInterruptedRuns(records.control()).empty());
    EXPECT_EQ(folder.snapshot(), before);
    EXPECT_TRUE(RecoverInterruptedRuns(records.control()).empty());
    std::filesystem::remove_all(copy);
}

// sshfs refuses no taken name in one call and tells no count of a file's
// names: a step is a second name, then the first removed, and a stop between
// the two is proven one file by its size, time and bytes.
TEST(RenameRun, EveryCallFailedOrCrashedOnSshfsLeavesTheFolderAsBefore) {
    const SshfsMounts drive(1);
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    for (const Scenario& scenario : scenarios())
        sweep(drive.mount(0), scenario, Mode{"sshfs"}, testing::Nested::No);
}

// A run killed right after a step gave a file its second name on sshfs, which
// shows neither counts of names nor file numbers. Where the second name is
// still the file's, recovery proves it and puts every name back; where another
// program put a copy with the same bytes and times under it meanwhile, the
// copy is left, and so are the record and the file's mode.
TEST(RenameRun, CopyUnderTheSecondNameIsNeverRemovedOnSshfs) {
    const SshfsMounts drive(1);
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    for (const bool copied : {false, true}) {
        SCOPED_TRACE(copied ? "a copy under the second name" : "the second name itself");
        TempFolder folder(drive.mount(0), {"a.jpg", "b.jpg"});
        const Snapshot before = folder.snapshot();
        TestRecords records;
        RunTesting testing;
        testing.way = RenameWay::LinkThenUnlink;
        testing::CallSweep crash(testing::callsOf(DiskCall::Link), 1);
        testing.seam = crash.seam();
        testing::runCutShort(runRequest(folder, {{"a.jpg", "x.jpg"}, {"b.jpg", "y.jpg"}}),
                             records.control(&testing));
        ASSERT_TRUE(std::filesystem::exists(folder.at("x.jpg")));
        ASSERT_TRUE(std::filesystem::exists(folder.at("a.jpg")));
        if (copied) {
            std::filesystem::remove(folder.at("x.jpg"));
            ASSERT_TRUE(run("cp -p " + folder.at("a.jpg") + " " + folder.at("x.jpg")));
        }
        const auto modeOf = [&](const std::string& name) {
            return std::filesystem::status(folder.at(name)).permissions();
        };
        const auto mode = modeOf("a.jpg");
        const RecoveryReport report = RecoverInterruptedRuns(records.control());
        EXPECT_EQ(modeOf("a.jpg"), mode);
        if (!copied) {
            EXPECT_FALSE(testing::troubled(report)) << testing::describe(report);
            EXPECT_EQ(folder.snapshot(), before);
            continue;
        }
        ASSERT_EQ(report.notes.size(), 1u) << testing::describe(report);
        EXPECT_EQ(report.notes[0].kind, RecoveryNote::Kind::LeftForeign);
        EXPECT_EQ(report.notes[0].name, "x.jpg");
        Snapshot expected = before;
        expected["x.jpg"] = before.at("a.jpg");
        EXPECT_EQ(folder.snapshot(), expected);
        EXPECT_FALSE(RecoverInterruptedRuns(records.control()).empty());
        EXPECT_EQ(folder.snapshot(), expected);
    }
}

// Two machines share a home over sshfs, here as two mounts of one folder: a
// lock taken through one binds nothing through the other, so the records'
// leases decide. A live run, and the single-instance lock beside it, are left
// to their process; once that is killed, the other start rolls the run back.
TEST(RenameRun, RunLeasedThroughAnotherMountIsLeftAloneWhileItLives) {
    const SshfsMounts home(2, "dir_cache=no");
    if (!home.skipReason().empty())
        GTEST_SKIP() << home.skipReason();
    const std::string firstPath = home.mount(0) + "/state";
    const JournalStore first = JournalStore::at(firstPath);
    const JournalStore second = JournalStore::at(home.mount(1) + "/state");
    ASSERT_FALSE(first.problem());
    ASSERT_FALSE(second.problem());
    platform::RecordFolder secondFolder;
    ASSERT_FALSE(secondFolder.open(home.mount(1) + "/state"));
    RunControl there;
    there.records = &second;
    TempFolder parent;
    std::vector<std::string> names;
    testing::Moves moves;
    for (int i = 0; i < 20; ++i) {
        names.push_back("photo" + std::to_string(i) + ".jpg");
        moves.emplace_back(names.back(), "x_" + names.back());
    }
    for (const bool killed : {false, true}) {
        SCOPED_TRACE(killed ? "killed" : "left to finish");
        TempFolder folder(parent.path(), names);
        const Snapshot before = folder.snapshot();
        const RunRequest request = runRequest(folder, moves);
        Child child = startChild([&](const std::function<void()>& pause) {
            platform::RecordFolder records;
            platform::RecordFile instance;
            platform::RecordRefusal why = platform::RecordRefusal::None;
            SystemError error;
            if (records.open(firstPath) ||
                (instance.open(records, "velmorandi.lock", true, why, error) !=
                     platform::RecordFile::Opened::Yes &&
                 instance.create(records, "velmorandi.lock")))
                ::_exit(2);
            PauseAfter observer(7, pause);
            RunControl control;
            control.records = &first;
            control.observer = &observer;
            ::_exit(ExecuteRun(request, control).outcome == RunOutcome::Completed ? 0 : 1);
        });
        ASSERT_GE(child.pid, 0);
        ASSERT_TRUE(waitUntilPaused(child));
        const Snapshot meanwhile = folder.snapshot();
        platform::RecordFile instance;
        platform::RecordRefusal why = platform::RecordRefusal::None;
        SystemError error;
        EXPECT_EQ(instance.open(secondFolder, "velmorandi.lock", true, why, error),
                  platform::RecordFile::Opened::Held);
        const RecoveryReport report = RecoverInterruptedRuns(there);
        ASSERT_EQ(report.notes.size(), 1u) << testing::describe(report);
        EXPECT_EQ(report.notes[0].kind, RecoveryNote::Kind::RunningElsewhere);
        EXPECT_EQ(report.notes[0].host, platform::thisProcess().host);
        EXPECT_EQ(folder.snapshot(), meanwhile);
        const int status = endOf(child, killed);
        EXPECT_EQ(WIFEXITED(status) && WEXITSTATUS(status) == 0, !killed);
        const RecoveryReport after = RecoverInterruptedRuns(there);
        EXPECT_EQ(folder.snapshot(), killed ? before : testing::afterMoves(before, moves))
            << testing::describe(after);
        EXPECT_TRUE(RecoverInterruptedRuns(there).empty());
    }
}

// A start from another shell (su, ssh, cron: another runtime folder, or none)
// while a run is going leaves that run alone: it completes, and nothing is rolled back.
TEST(RenameRun, RecoveryLeavesARunAnotherProcessIsMaking) {
    TempFolder parent;
    std::vector<std::string> names;
    testing::Moves moves;
    for (int i = 0; i < 20; ++i) {
        names.push_back("photo" + std::to_string(i) + ".jpg");
        moves.emplace_back(names.back(), "x_" + names.back());
    }
    TempFolder folder(parent.path(), names);
    const Snapshot before = folder.snapshot();
    TestRecords records;
    const RunRequest request = runRequest(folder, moves);
    Child child = startChild([&](const std::function<void()>& pause) {
        PauseAfter observer(7, pause);
        RunControl control = records.control();
        control.observer = &observer;
        ::_exit(ExecuteRun(request, control).outcome == RunOutcome::Completed ? 0 : 1);
    });
    ASSERT_GE(child.pid, 0);
    ASSERT_TRUE(waitUntilPaused(child));
    const Snapshot meanwhile = folder.snapshot();
    ASSERT_NE(meanwhile, before);
    ::setenv("XDG_RUNTIME_DIR", parent.path().c_str(), 1);
    EXPECT_TRUE(RecoverInterruptedRuns(records.control()).empty());
    EXPECT_FALSE(CanUndo(folder.path(), records.control()));
    EXPECT_EQ(folder.snapshot(), meanwhile);
    const int status = endOf(child, false);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(folder.snapshot(), testing::afterMoves(before, moves));
    EXPECT_TRUE(RecoverInterruptedRuns(records.control()).empty());
    EXPECT_TRUE(CanUndo(folder.path(), records.control()));
}

} // namespace
} // namespace velmorandi
