#pragma once

#include "platform/folder_access.h"
#include "platform/record_lease.h"
#include "run/disk.h"
#include "run/run_plan.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// The ways a step can rename without ever replacing a file, best first. A
// drive that cannot do one refuses it at once, without changing anything,
// and the next is used for the rest of the run.
enum class RenameWay : std::uint8_t {
    NoReplaceFlag,  // one rename that the system refuses where the name is taken
    LinkThenUnlink, // a second name (refused where taken), then the first one removed
    Placeholder     // a file of the run's own made under the new name, then a rename onto it
};

// A name that a step stopped half-way left beside a file of the run: what
// recovery may remove, once it has proven it again just before.
struct Leftover {
    enum class Kind {
        Placeholder, // holds exactly the run's placeholder content
        SecondName   // a second name of the file under `other`
    };
    Kind kind = Kind::Placeholder;
    std::string name;
    std::string other;
};

// What proves a leftover to be the run's: the content of its placeholders,
// and whether the drive counts a file's names (else two names are proven one
// file by their size, time and bytes).
struct LeftoverProof {
    std::string placeholder;
    bool linkCounts = true;
};

// Whether the entry under `leftover.name` is what it is said to be.
bool provesLeftover(const platform::FolderHandle& folder, const Disk& disk,
                    const Leftover& leftover, const LeftoverProof& proof);

// Whether this process still holds the records of a run, asked before
// every change it makes: where it does not, the folder is another's to put right.
using RunOwnership = std::function<platform::LeaseStanding()>;

// Carries out a run's steps in one folder, one system call at a time.
class StepExecutor {
  public:
    // `beforePlaceholders` runs once, before the first placeholder is made:
    // the record must say that the run may have made some.
    StepExecutor(const platform::FolderHandle& folder, const std::vector<PlannedMove>& moves,
                 const Disk& disk, RenameWay firstWay, LeftoverProof proof,
                 std::function<std::optional<SystemError>()> beforePlaceholders,
                 RunOwnership ownership = {});

    // A step that fails leaves the folder as before the step where it can: a
    // second name or a placeholder it made is removed again. It also fails,
    // changing nothing more, once the run's records are no longer held.
    [[nodiscard]] std::optional<SystemError> perform(const RunStep& step);
    // The way the drive was found to take; later runs in the folder start there.
    RenameWay way() const { return m_way; }
    // Held, unless a step stopped because the records were lost or could not be confirmed.
    platform::LeaseStanding standing() const { return m_standing; }

  private:
    // A file another program holds for a moment (a virus scanner, an indexer)
    // is tried again for about two seconds before the step fails.
    template <class Perform>
    [[nodiscard]] std::optional<SystemError> change(DiskCall call, std::string_view a,
                                                    std::string_view b, Perform&& perform) {
        for (int tried = 0;; ++tried) {
            if (!mayChange())
                return SystemError{};
            std::optional<SystemError> error = m_disk.call(call, a, b, perform);
            if (!error || platform::errorKind(*error) != ErrorKind::InUse || !waitWhileHeld(tried))
                return error;
        }
    }
    bool mayChange();
    // Waits before try `tried` + 2; false once the holds have lasted long enough.
    static bool waitWhileHeld(int tried);
    [[nodiscard]] std::optional<SystemError> rename(const std::string& from, const std::string& to);
    [[nodiscard]] std::optional<SystemError> renameByLink(const std::string& from,
                                                          const std::string& to);
    [[nodiscard]] std::optional<SystemError> renameOntoPlaceholder(const std::string& from,
                                                                   const std::string& to);
    [[nodiscard]] std::optional<SystemError> makePlaceholder(const std::string& name);

    const platform::FolderHandle& m_folder;
    const std::vector<PlannedMove>& m_moves;
    const Disk& m_disk;
    RenameWay m_way;
    LeftoverProof m_proof;
    std::function<std::optional<SystemError>()> m_beforePlaceholders;
    RunOwnership m_ownership;
    platform::LeaseStanding m_standing = platform::LeaseStanding::Held;
    // The system wants names that end in a zero byte; the buffers are reused.
    std::string m_a;
    std::string m_b;
};

// Why a leftover stays: it is no longer what the step left, or the system
// refused to remove it.
struct LeftoverKept {
    bool unproven = false;
    SystemError error;
};

// Removes a name left by a step stopped half-way, only where it is proven
// again to be what `leftover` says. Fails, having removed nothing, where it
// is not or is gone.
[[nodiscard]] std::optional<LeftoverKept> removeLeftover(const platform::FolderHandle& folder,
                                                         const Disk& disk, const Leftover& leftover,
                                                         const LeftoverProof& proof);

} // namespace velmorandi
