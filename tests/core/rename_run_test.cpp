#include "run/rename_run.h"
#include "run_folder.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace velmorandi {
namespace {

using testing::afterMoves;
using testing::Moves;
using testing::RunFolder;
using testing::Snapshot;
using testing::TempFolder;

struct Scenario {
    const char* label;
    std::vector<std::string> files;
    Moves moves;
    bool ignoreCase = false;
    std::vector<std::size_t> taken = {}; // rows refused as "already taken"; empty: the run completes
};

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> all{
        {"chain",
         {"0.txt", "1.txt", "2.txt", "3.txt", "a.txt"},
         {{"0.txt", "1.txt"}, {"1.txt", "2.txt"}, {"2.txt", "3.txt"}, {"3.txt", "4.txt"},
          {"a.txt", "b.txt"}}},
        {"swap", {"a.txt", "b.txt", "c.txt"}, {{"a.txt", "b.txt"}, {"b.txt", "a.txt"}}},
        {"rings",
         {"a", "b", "c", "d", "p", "q", "x"},
         {{"a", "b"}, {"b", "c"}, {"c", "d"}, {"d", "a"}, {"x", "y"}, {"p", "q"}, {"q", "p"}}},
        {"letter case",
         {"Photo.jpg", "A.txt", "B.txt", "c.txt"},
         {{"Photo.jpg", "photo.jpg"}, {"A.txt", "b.txt"}, {"B.txt", "a.txt"}, {"c.txt", "C2.txt"}},
         true},
        {"letter case collisions",
         {"a.txt", "b.txt", "c.txt", "d.txt"},
         {{"a.txt", "X.txt"}, {"b.txt", "x.txt"}, {"c.txt", "D.txt"}},
         true,
         {0, 1, 2}},
    };
    return all;
}

struct Mode {
    const char* label;
    bool noExchange = false;
    bool noIdentities = false;
};
const Mode kModes[]{{"exchange"}, {"temporary names", true}, {"names only", true, true}};

RunControl controlFor(const Scenario& scenario, const Mode& mode) {
    RunControl control;
    control.testing.ignoreCase = scenario.ignoreCase;
    control.testing.noExchange = mode.noExchange;
    control.testing.noIdentities = mode.noIdentities;
    return control;
}

// Counts the steps and lets the chosen one (1-based) fail.
RenameSeam failingAt(std::size_t& calls, std::size_t failing) {
    return [&calls, failing](const std::string& from, const std::string& to,
                             const RenameFunction& step) -> std::optional<SystemError> {
        if (++calls == failing)
            return SystemError{EIO, "Input/output error"};
        return step(from, to);
    };
}

// For every step k: a failure at k, and a crash after k followed by recovery,
// each leave the folder exactly as it was.
void sweep(const std::string& parent, const Scenario& scenario, const Mode& mode) {
    SCOPED_TRACE(std::string(scenario.label) + ", " + mode.label + ", in " + parent);
    std::size_t steps = 0;
    {
        RunFolder folder(parent, scenario.files);
        const Snapshot before = folder.snapshot();
        RunControl control = controlFor(scenario, mode);
        control.seam = failingAt(steps, 0);
        const RunResult result = ExecuteRun(folder.request(scenario.moves), control);
        if (!scenario.taken.empty()) {
            EXPECT_EQ(result.kind, RunResult::Kind::NameTaken);
            EXPECT_EQ(result.errorRows, scenario.taken);
            EXPECT_EQ(steps, 0u);
            EXPECT_EQ(folder.snapshot(), before);
            return;
        }
        ASSERT_EQ(result.kind, RunResult::Kind::Completed) << result.message;
        EXPECT_EQ(folder.snapshot(), afterMoves(before, scenario.moves));
    }
    for (std::size_t k = 1; k <= steps; ++k) {
        SCOPED_TRACE("failure at step " + std::to_string(k));
        RunFolder folder(parent, scenario.files);
        const Snapshot before = folder.snapshot();
        RunControl control = controlFor(scenario, mode);
        std::size_t calls = 0;
        control.seam = failingAt(calls, k);
        const RunResult result = ExecuteRun(folder.request(scenario.moves), control);
        EXPECT_EQ(result.kind, RunResult::Kind::Failed);
        EXPECT_NE(result.message.find("No file has been renamed"), std::string::npos)
            << result.message;
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_EQ(RecoverInterruptedRuns(control).message, ""); // nothing left behind
    }
    for (std::size_t k = 0; k <= steps; ++k) {
        SCOPED_TRACE("crash after step " + std::to_string(k));
        RunFolder folder(parent, scenario.files);
        const Snapshot before = folder.snapshot();
        RunControl control = controlFor(scenario, mode);
        control.testing.abandonAfter = k;
        ExecuteRun(folder.request(scenario.moves), control);
        control.testing.abandonAfter = static_cast<std::size_t>(-1);
        const std::string report = RecoverInterruptedRuns(control).message;
        EXPECT_NE(report.find(folder.path()), std::string::npos) << report;
        EXPECT_EQ(report.find("could not"), std::string::npos) << report;
        EXPECT_EQ(folder.snapshot(), before);
        EXPECT_EQ(RecoverInterruptedRuns(control).message, "");
    }
}

TEST(RenameRun, EveryStepFailedOrCrashedLeavesTheFolderAsBefore) {
    TempFolder parent;
    for (const Scenario& scenario : scenarios())
        for (const Mode& mode : kModes)
            sweep(parent.path(), scenario, mode);
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
        const std::string image = m_folder + "/image";
        if (!run("truncate -s 16M " + image + " && mkfs.exfat " + image)) {
            m_skipReason = "mkfs.exfat failed";
            return;
        }
        FILE* loop = ::popen(("losetup -f --show " + image).c_str(), "r");
        char device[64] = {};
        if (loop && std::fgets(device, sizeof device, loop))
            m_device = std::string(device).substr(0, std::string(device).find('\n'));
        if (loop)
            ::pclose(loop);
        if (m_device.empty() || !run("mount.exfat-fuse " + m_device + " " + m_mountPoint)) {
            m_skipReason = "the machine does not allow a loop device or a FUSE mount";
            return;
        }
        m_mounted = true;
    }
    ~ExfatMount() {
        if (m_mounted)
            run("umount " + m_mountPoint);
        if (!m_device.empty())
            run("losetup -d " + m_device);
        std::error_code ignored;
        if (!m_folder.empty())
            std::filesystem::remove_all(m_folder, ignored);
    }
    const std::string& skipReason() const { return m_skipReason; }
    const std::string& path() const { return m_mountPoint; }

  private:
    static bool run(const std::string& command) {
        return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
    }
    std::string m_folder;
    std::string m_mountPoint;
    std::string m_device;
    std::string m_skipReason;
    bool m_mounted = false;
};

TEST(RenameRun, EveryStepFailedOrCrashedOnExfatLeavesTheFolderAsBefore) {
    const ExfatMount drive;
    if (!drive.skipReason().empty())
        GTEST_SKIP() << drive.skipReason();
    // Letter case and exchange are the drive's own here, not the test's.
    for (const Scenario& scenario : scenarios())
        sweep(drive.path(), scenario, Mode{"exFAT"});
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
    RunFolder folder(parent, names);
    const Snapshot before = folder.snapshot();
    const RunRequest request = folder.request(moves);

    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RunControl control = controlFor(Scenario{}, mode);
        control.progress = [&](std::size_t done, std::size_t) {
            if (done != steps)
                return;
            const char ready = 1;
            (void)!::write(pipe[1], &ready, 1);
            ::pause();
        };
        ExecuteRun(request, control);
        ::_exit(0);
    }
    ::close(pipe[1]);
    char ready = 0;
    EXPECT_EQ(::read(pipe[0], &ready, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipe[0]);
    EXPECT_TRUE(WIFSIGNALED(status));

    const std::string report = RecoverInterruptedRuns(controlFor(Scenario{}, mode)).message;
    const std::string restored = steps == 1 ? "1 file got its name back"
                                            : std::to_string(steps) + " files got their names back";
    EXPECT_NE(report.find(restored), std::string::npos) << report;
    EXPECT_EQ(folder.snapshot(), before);
}

TEST(RenameRun, KilledRunIsRolledBackAtTheNextStart) {
    for (const Mode& mode : {kModes[0], kModes[2]})
        for (const std::size_t steps : {1u, 4'000u, 9'999u})
            killAndRecover(steps, mode);
}

} // namespace
} // namespace velmorandi
