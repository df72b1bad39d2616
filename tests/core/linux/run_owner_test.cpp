// One owner per run where the records lie on a network home: two machines
// sharing it are two sshfs mounts of one folder here, and the other machine
// is a process with a host name, a boot and process namespace of its own.
#include "paused_child.h"
#include "run_sweep.h"
#include "sshfs_mounts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace velmorandi {
namespace {

using testing::Moves;
using testing::Snapshot;
using testing::SshfsMounts;
using testing::TempFolder;

constexpr int kCannot = 99; // the machine does not allow namespaces of the test's own

// Where a process of another machine would not see this one's: in process
// and mount namespaces of its own (its own /proc), and, as `otherMachine`,
// with a host name and a boot id of its own. Returns its process id; its
// exit code is what `body` returns.
pid_t startElsewhere(bool otherMachine, const std::string& scratch,
                     const std::function<int()>& body) {
    const pid_t outer = ::fork();
    if (outer != 0)
        return outer;
    if (::unshare(CLONE_NEWPID | CLONE_NEWNS | (otherMachine ? CLONE_NEWUTS : 0)) != 0)
        ::_exit(kCannot);
    const pid_t inner = ::fork();
    if (inner == 0) {
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("proc", "/proc", "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) != 0)
            ::_exit(kCannot);
        if (otherMachine) {
            const std::string boot = scratch + "/boot_id";
            std::ofstream(boot) << "0e1d2c3b-4a59-6877-8695-a4b3c2d1e0f9\n";
            if (::sethostname("elsewhere", 9) != 0 ||
                ::mount(boot.c_str(), "/proc/sys/kernel/random/boot_id", nullptr, MS_BIND,
                        nullptr) != 0)
                ::_exit(kCannot);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(inner, &status, 0);
    ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : kCannot);
}

int exitCodeOf(pid_t process) {
    int status = 0;
    ::waitpid(process, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What a start through the other mount concluded, as an exit code.
enum Concluded { Restored = 0, LeftAlone = 1, Otherwise = 2, NothingFound = 3 };

int recoverThrough(const RunControl& there) {
    const RecoveryReport report = RecoverInterruptedRuns(there);
    if (report.notes.empty())
        return NothingFound;
    if (report.notes.size() == 1 && report.notes[0].kind == RecoveryNote::Kind::Restored)
        return Restored;
    if (report.notes.size() == 1 && report.notes[0].kind == RecoveryNote::Kind::RunningElsewhere)
        return LeftAlone;
    std::fprintf(stderr, "%s\n", testing::describe(report).c_str());
    return Otherwise;
}

// What the run's own process concluded, as an exit code.
int concludedRun(const RunResult& result) {
    if (result.outcome == RunOutcome::Completed)
        return 0;
    if (result.news.kind == RunNews::Kind::HandedOver &&
        result.news.failure.kind == RunFailure::Kind::TakenOver)
        return 3;
    return 1;
}

struct NetworkHome {
    explicit NetworkHome(const SshfsMounts& mounts)
        : here(JournalStore::at(mounts.mount(0) + "/state")),
          there(JournalStore::at(mounts.mount(1) + "/state")) {}
    JournalStore here;
    JournalStore there;
    RunControl controlThere() const {
        RunControl control;
        control.records = &there;
        return control;
    }
};

Moves prefixed(const std::vector<std::string>& names) {
    Moves moves;
    for (const std::string& name : names)
        moves.emplace_back(name, "x_" + name);
    return moves;
}

std::vector<std::string> photos(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("photo" + std::to_string(i) + ".jpg");
    return names;
}

// The owner is stopped (a closed lid, a frozen machine) right after a step
// gave a file its second name, and another machine starts once the lease
// has gone stale. Where the other machine takes the run over and puts the
// names back, the owner, woken, changes nothing more and says so; where the
// owner wakes first, it finishes and the other leaves the run alone. No file
// is lost either way.
TEST(RunOwner, PausedOwnerNeverActsOnARunAnotherMachineTookOver) {
    const SshfsMounts mounts(2, "dir_cache=no");
    if (!mounts.skipReason().empty())
        GTEST_SKIP() << mounts.skipReason();
    const NetworkHome home(mounts);
    const TempFolder parent;
    const std::vector<std::string> names = photos(300);
    const Moves moves = prefixed(names);
    for (const int pause : {35, 50, 55, 120}) {
        SCOPED_TRACE("paused for " + std::to_string(pause) + " s");
        TempFolder folder(parent.path(), names);
        const Snapshot before = folder.snapshot();
        const RunRequest request = runRequest(folder, moves);
        int stopped[2];
        ASSERT_EQ(::pipe(stopped), 0);
        const pid_t owner = ::fork();
        if (owner == 0) {
            // Stopped in an orphaned process group (tests started in the background),
            // the owner would get SIGHUP when another process of the group ends: a
            // machine's paused process gets none.
            ::signal(SIGHUP, SIG_IGN);
            RunTesting testing;
            testing.way = RenameWay::LinkThenUnlink;
            int links = 0;
            testing.seam = [&](DiskCall call, std::string_view, std::string_view,
                               const std::function<std::optional<SystemError>()>& perform) {
                std::optional<SystemError> result = perform();
                if (call == DiskCall::Link && ++links == 100) {
                    (void)!::write(stopped[1], "s", 1);
                    ::raise(SIGSTOP);
                }
                return result;
            };
            RunControl control;
            control.records = &home.here;
            control.testing = &testing;
            ::_exit(concludedRun(ExecuteRun(request, control)));
        }
        char signal = 0;
        ASSERT_EQ(::read(stopped[0], &signal, 1), 1);
        ::close(stopped[0]);
        ::close(stopped[1]);
        int status = 0;
        ASSERT_EQ(::waitpid(owner, &status, WUNTRACED), owner);
        ASSERT_TRUE(WIFSTOPPED(status));
        const auto pausedAt = std::chrono::steady_clock::now();

        // Started once the lease is older than its stale period.
        std::this_thread::sleep_until(pausedAt + std::chrono::seconds(31));
        const pid_t elsewhere = startElsewhere(true, parent.path(),
                                               [&] { return recoverThrough(home.controlThere()); });
        std::this_thread::sleep_until(pausedAt + std::chrono::seconds(pause));
        ::kill(owner, SIGCONT);
        const int took = exitCodeOf(elsewhere);
        if (took == kCannot)
            GTEST_SKIP() << "the machine allows no namespaces of the test's own";
        const int ran = exitCodeOf(owner);

        if (took == Restored) {
            EXPECT_EQ(ran, 3) << "the owner went on with a run another machine took over";
            EXPECT_EQ(folder.snapshot(), before);
        } else {
            // Left alone while it lived, or found complete once the owner woke and finished.
            EXPECT_TRUE(took == LeftAlone || took == NothingFound) << took;
            EXPECT_EQ(ran, 0);
            EXPECT_EQ(folder.snapshot(), testing::afterMoves(before, moves));
        }
        // Whatever happened, it was told once: nothing is left for a later start.
        EXPECT_TRUE(RecoverInterruptedRuns(home.controlThere()).empty());
        if (pause >= 50) {
            EXPECT_EQ(took, Restored) << "the lease was stale for long enough to be taken over";
        }
    }
}

// A start in another process namespace (a container, a sandboxed package) on
// the same machine cannot see the run's process: it must not take that for a
// process that has ended. The run, and the single-instance lock, are left alone.
TEST(RunOwner, StartInAnotherProcessNamespaceLeavesALiveRunAlone) {
    const SshfsMounts mounts(2, "dir_cache=no");
    if (!mounts.skipReason().empty())
        GTEST_SKIP() << mounts.skipReason();
    const NetworkHome home(mounts);
    const TempFolder parent;
    const std::vector<std::string> names = photos(20);
    const Moves moves = prefixed(names);
    TempFolder folder(parent.path(), names);
    const Snapshot before = folder.snapshot();
    const RunRequest request = runRequest(folder, moves);
    const std::string firstPath = mounts.mount(0) + "/state";
    testing::Child child = testing::startChild([&](const std::function<void()>& pause) {
        platform::RecordFolder records;
        platform::RecordFile instance;
        if (records.open(firstPath) || instance.create(records, "velmorandi.lock"))
            ::_exit(2);
        testing::PauseAfter observer(7, pause);
        RunControl control;
        control.records = &home.here;
        control.observer = &observer;
        ::_exit(ExecuteRun(request, control).outcome == RunOutcome::Completed ? 0 : 1);
    });
    ASSERT_GE(child.pid, 0);
    ASSERT_TRUE(testing::waitUntilPaused(child));
    const Snapshot meanwhile = folder.snapshot();
    const pid_t elsewhere = startElsewhere(false, parent.path(), [&] {
        platform::RecordFolder records;
        platform::RecordFile instance;
        platform::RecordRefusal why = platform::RecordRefusal::None;
        SystemError error;
        if (records.open(mounts.mount(1) + "/state") ||
            instance.open(records, "velmorandi.lock", true, why, error) !=
                platform::RecordFile::Opened::Held)
            return int{Otherwise};
        return recoverThrough(home.controlThere());
    });
    const int concluded = exitCodeOf(elsewhere);
    if (concluded == kCannot) {
        testing::endOf(child, true);
        GTEST_SKIP() << "the machine allows no namespaces of the test's own";
    }
    EXPECT_EQ(concluded, LeftAlone);
    EXPECT_EQ(folder.snapshot(), meanwhile);
    const int status = testing::endOf(child, false);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(folder.snapshot(), testing::afterMoves(before, moves));
}

} // namespace
} // namespace velmorandi
