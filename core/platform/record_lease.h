#pragma once

#include "platform/record_folder.h"
#include "platform/system_error.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

// Leases on records that lie on a network drive, where a lock proves nothing
// to another machine, nor to this one through another mount. A record's
// lease is a small file beside it ("run-….lease", "velmorandi.lease") that
// names the machine, its boot, the process and when it last renewed it; a
// heartbeat renews every lease of this process every few seconds. Another
// process acts on a record only once its lease is gone or stale:
// docs/journal-format.md says when it is.
namespace velmorandi::platform {

// Who holds a record through its lease: a program on another machine, or
// on this one through another mount of a network drive.
struct RecordHolder {
    std::string host;
    std::uint64_t process = 0;
};

// This process as a lease names it, and whether a process of this machine's
// present boot is still the one a lease names (linux/, windows/).
struct ProcessFacts {
    std::string host;
    // Differs after every start of the machine, and between process
    // namespaces (containers) whose processes cannot see each other's.
    std::string boot;
    std::uint64_t process = 0;
    std::uint64_t started = 0; // when the process began, as the system counts
};
ProcessFacts thisProcess();
std::uint64_t thisProcessId();
bool isRunning(std::uint64_t process, std::uint64_t started);
// A clock that also runs while the machine sleeps or the process is stopped.
std::chrono::nanoseconds timeSinceBoot();

// How often a lease is renewed, and when one is stale: by the clock of the
// machine that reads it, older (or newer) than `stale`; or, where the clocks
// of two machines may disagree, unchanged while it is watched for `watched`.
struct LeasePeriods {
    std::chrono::milliseconds renew{5'000};
    std::chrono::milliseconds stale{30'000};
    std::chrono::milliseconds watched{12'000};
    // How long a holder acts on its last confirmed renewal. Another process
    // may take a lease over once it has seen it unchanged for `watched`,
    // so this is well below that: a call begun just before its end may take
    // a while to reach the drive.
    std::chrono::milliseconds trusted{6'000};
    // How long a taker waits before it reads its lease again; a holder that
    // confirms its lease after a gap waits longer, so that of the two writes
    // the later one is always seen by the other.
    std::chrono::milliseconds settle{500};
};
const LeasePeriods& leasePeriods();

// Whether a process may still act as a lease's holder.
enum class LeaseStanding {
    Held,
    Lost,       // another process took it over: the record is that one's now
    Unconfirmed // it could not be read or renewed in time: nothing may be done on it
};

class Lease {
  public:
    struct [[nodiscard]] Attempt {
        std::unique_ptr<Lease> lease;       // taken
        std::optional<RecordHolder> holder; // a live process of another holds it
        std::optional<SystemError> error;   // it could not be read or written
    };
    // The lease of the record `recordName` in `folder`.
    static Attempt take(const RecordFolder& folder, const std::string& recordName);

    // Given up: the heartbeat stops, and the file goes where it is still this one's.
    ~Lease();
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    // Called by the heartbeat.
    void renew();
    // Asked before every change made on the strength of the lease: held
    // where it was confirmed within `trusted`, else once renewed now. A
    // process that was stopped, or a machine that slept, finds out here.
    LeaseStanding standing();

  private:
    enum class Seen { Ours, Another, Unread };
    Lease(RecordFolder folder, std::string name, std::uint64_t token);
    std::string bytes() const;
    Seen seen() const;
    bool stillOurs() const { return seen() == Seen::Ours; }
    void renewNow();
    bool confirmedLately() const;

    RecordFolder m_folder;
    std::string m_name;
    std::uint64_t m_token; // tells this lease from any other of the same process
    std::mutex m_renewing; // the heartbeat's renewals and the holder's confirmations
    std::int64_t m_renewed = 0;
    std::uint64_t m_count = 0;
    // When the last renewal that found the lease still this one's began, by timeSinceBoot().
    std::atomic<std::int64_t> m_confirmed;
    std::atomic<bool> m_lost{false}; // another process took it over: it is renewed no more
};

// The lease's name for a record: the record's name up to its first dot, then ".lease".
std::string leaseNameOf(const std::string& recordName);

} // namespace velmorandi::platform
