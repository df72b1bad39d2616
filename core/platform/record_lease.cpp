#include "platform/record_lease.h"

#include "platform/folder_access.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace velmorandi::platform {
namespace {

constexpr std::string_view kMagic = "VMRLEAS1";
constexpr std::size_t kLargest = 4096;

// What a lease file holds, as docs/journal-format.md gives it.
struct LeaseContent {
    std::string host;
    std::string boot;
    std::uint64_t process = 0;
    std::uint64_t started = 0;
    std::uint64_t token = 0;
    std::int64_t renewed = 0; // ns since 1970, by the holder's clock
    std::uint64_t count = 0;
};

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    return hash;
}

void putU64(std::string& bytes, std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<char>(value >> (8 * i)));
}

void putText(std::string& bytes, std::string_view text) {
    const auto size = static_cast<std::uint32_t>(text.size());
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>(size >> (8 * i)));
    bytes.append(text);
}

std::string encode(const LeaseContent& lease) {
    std::string bytes(kMagic);
    putText(bytes, lease.host);
    putText(bytes, lease.boot);
    putU64(bytes, lease.process);
    putU64(bytes, lease.started);
    putU64(bytes, lease.token);
    putU64(bytes, static_cast<std::uint64_t>(lease.renewed));
    putU64(bytes, lease.count);
    putU64(bytes, fnv1a(bytes));
    return bytes;
}

class Reader {
  public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    std::size_t offset() const { return m_at; }
    std::uint64_t number(int size) {
        if (!need(static_cast<std::size_t>(size)))
            return 0;
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(m_bytes[m_at++]))
                     << (8 * i);
        return value;
    }
    std::string text() {
        const std::size_t size = static_cast<std::size_t>(number(4));
        if (!need(size))
            return {};
        std::string value(m_bytes.substr(m_at, size));
        m_at += size;
        return value;
    }

  private:
    bool need(std::size_t size) {
        m_ok = m_ok && m_bytes.size() - m_at >= size;
        return m_ok;
    }
    std::string_view m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

std::optional<LeaseContent> decode(std::string_view bytes) {
    if (!bytes.starts_with(kMagic))
        return std::nullopt;
    Reader reader(bytes.substr(kMagic.size()));
    LeaseContent lease;
    lease.host = reader.text();
    lease.boot = reader.text();
    lease.process = reader.number(8);
    lease.started = reader.number(8);
    lease.token = reader.number(8);
    lease.renewed = static_cast<std::int64_t>(reader.number(8));
    lease.count = reader.number(8);
    const std::size_t summed = kMagic.size() + reader.offset();
    const std::uint64_t sum = reader.number(8);
    if (!reader.ok() || summed + 8 != bytes.size() || sum != fnv1a(bytes.substr(0, summed)))
        return std::nullopt;
    return lease;
}

std::int64_t now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::int64_t nanosecondsOf(std::chrono::milliseconds period) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(period).count();
}

std::uint64_t newToken() {
    std::random_device random;
    return (static_cast<std::uint64_t>(random()) << 32) ^ random();
}

// Live: a process holds it. On this machine's present boot the process
// itself is asked; elsewhere the lease must be fresh by this clock, and
// where it is not (a dead holder, or clocks that disagree) it is watched:
// a live holder renews it meanwhile.
bool isLive(const RecordFolder& folder, const std::string& name, const std::string& seen,
            const std::optional<LeaseContent>& lease) {
    const ProcessFacts here = thisProcess();
    if (lease && lease->boot == here.boot)
        return isRunning(lease->process, lease->started);
    const LeasePeriods& periods = leasePeriods();
    if (lease) {
        const auto age = std::chrono::nanoseconds(now() - lease->renewed);
        if (age < periods.stale && age > -periods.stale)
            return true;
    }
    std::this_thread::sleep_for(periods.watched);
    std::string again;
    if (folder.readSmall(name, kLargest, again))
        return false; // gone meanwhile: its holder gave it up
    return again != seen;
}

RecordHolder holderOf(const std::optional<LeaseContent>& lease) {
    if (!lease)
        return {};
    return {lease->host, lease->process};
}

// Renews every lease of this process. Made again in a child process, whose
// copy of a parent's heartbeat has no thread; never ended, so the process
// may end while it sleeps.
class Heartbeat {
  public:
    static Heartbeat& ofThisProcess() {
        static std::mutex making;
        static std::atomic<Heartbeat*> current{nullptr};
        const std::uint64_t process = thisProcessId();
        Heartbeat* beat = current.load();
        if (beat != nullptr && beat->m_process == process)
            return *beat;
        const std::lock_guard lock(making);
        beat = current.load();
        if (beat == nullptr || beat->m_process != process) {
            beat = new Heartbeat(process);
            current.store(beat);
        }
        return *beat;
    }
    // False where no thread can be had to renew it: a lease that would go
    // stale while its holder lives is not taken.
    bool add(Lease* lease) {
        const std::lock_guard lock(m_mutex);
        try {
            if (!m_started)
                std::thread([this] { beat(); }).detach();
            m_started = true;
        } catch (const std::system_error&) {
            return false;
        }
        m_leases.push_back(lease);
        return true;
    }
    // Once this returns, the heartbeat no longer touches the lease.
    void remove(Lease* lease) {
        const std::lock_guard lock(m_mutex);
        std::erase(m_leases, lease);
    }

  private:
    explicit Heartbeat(std::uint64_t process) : m_process(process) {}
    void beat() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait_for(lock, leasePeriods().renew);
            for (Lease* lease : m_leases)
                lease->renew();
        }
    }

    std::uint64_t m_process;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Lease*> m_leases;
    bool m_started = false;
};

} // namespace

const LeasePeriods& leasePeriods() {
    static const LeasePeriods periods;
    return periods;
}

std::string leaseNameOf(const std::string& recordName) {
    return recordName.substr(0, recordName.find('.')) + ".lease";
}

Lease::Lease(RecordFolder folder, std::string name, std::uint64_t token)
    : m_folder(std::move(folder)), m_name(std::move(name)), m_token(token), m_renewed(now()),
      m_confirmed(timeSinceBoot().count()) {}

Lease::~Lease() {
    Heartbeat::ofThisProcess().remove(this);
    if (!m_lost && stillOurs())
        static_cast<void>(m_folder.removeName(m_name)); // a lease left behind goes stale
}

std::string Lease::bytes() const {
    const ProcessFacts here = thisProcess();
    return encode({here.host, here.boot, here.process, here.started, m_token, m_renewed, m_count});
}

// A lease that is gone was given up by the process that took it over; one
// that cannot be read or decoded proves nothing either way.
Lease::Seen Lease::seen() const {
    std::string bytes;
    if (auto error = m_folder.readSmall(m_name, kLargest, bytes))
        return meansNoSuchFile(*error) ? Seen::Another : Seen::Unread;
    const std::optional<LeaseContent> lease = decode(bytes);
    if (!lease)
        return Seen::Unread;
    return lease->token == m_token ? Seen::Ours : Seen::Another;
}

bool Lease::confirmedLately() const {
    return timeSinceBoot().count() - m_confirmed.load() < nanosecondsOf(leasePeriods().trusted);
}

// A renewal that fails is tried again at the next beat; the lease goes
// stale only after several. After a gap (this process was stopped, the
// machine slept, the drive did not answer) another process may be taking
// the lease over at this very moment: of its write and this one the later
// wins, so this one is read back only after the taker has read back its own.
void Lease::renewNow() {
    if (m_lost)
        return;
    const std::int64_t began = timeSinceBoot().count();
    const bool afterGap = !confirmedLately();
    const Seen before = seen();
    if (before != Seen::Ours) {
        m_lost = before == Seen::Another;
        return;
    }
    m_renewed = now();
    ++m_count;
    if (m_folder.replace(m_name, bytes()))
        return;
    if (afterGap) {
        std::this_thread::sleep_for(leasePeriods().settle * 3 / 2);
        const Seen after = seen();
        if (after != Seen::Ours) {
            m_lost = after == Seen::Another;
            return;
        }
    }
    m_confirmed = began;
}

void Lease::renew() {
    const std::lock_guard lock(m_renewing);
    renewNow();
}

// A drive that does not answer is given a few tries; meanwhile nothing is done.
LeaseStanding Lease::standing() {
    constexpr int kTries = 3;
    for (int tried = 0; !m_lost && !confirmedLately() && tried < kTries; ++tried) {
        if (tried > 0)
            std::this_thread::sleep_for(std::chrono::seconds(1));
        const std::lock_guard lock(m_renewing);
        if (!confirmedLately())
            renewNow();
    }
    if (m_lost)
        return LeaseStanding::Lost;
    return confirmedLately() ? LeaseStanding::Held : LeaseStanding::Unconfirmed;
}

Lease::Attempt Lease::take(const RecordFolder& folder, const std::string& recordName) {
    Attempt attempt;
    const std::string name = leaseNameOf(recordName);
    RecordFolder own;
    if (auto error = folder.duplicate(own)) {
        attempt.error = error;
        return attempt;
    }
    std::unique_ptr<Lease> lease(new Lease(std::move(own), name, newToken()));
    std::optional<LeaseContent> seenLease;
    // Twice at most: another process may take it between the look and the claim.
    for (int round = 0; round < 2; ++round) {
        std::string seen;
        std::optional<SystemError> error = folder.readSmall(name, kLargest, seen);
        lease->m_confirmed = timeSinceBoot().count(); // written next, or not taken
        if (error && meansNoSuchFile(*error)) {
            error = folder.writeNew(name, lease->bytes());
            if (error && meansNameTaken(*error))
                continue;
        } else if (!error) {
            seenLease = decode(seen);
            if (isLive(folder, name, seen, seenLease)) {
                attempt.holder = holderOf(seenLease);
                return attempt;
            }
            // Stale: taken over, then read again a moment later, as another
            // process may have found it stale too and the last to write it wins.
            lease->m_confirmed = timeSinceBoot().count();
            error = folder.replace(name, lease->bytes());
            if (!error) {
                std::this_thread::sleep_for(leasePeriods().settle);
                if (!lease->stillOurs())
                    continue;
            }
        }
        if (error) {
            attempt.error = error;
            return attempt;
        }
        if (!Heartbeat::ofThisProcess().add(lease.get())) {
            // No thread to renew the lease: it could not be held.
            attempt.error = noResources();
            return attempt;
        }
        attempt.lease = std::move(lease);
        return attempt;
    }
    lease->m_lost = true; // whatever is there now is another's
    attempt.holder = holderOf(seenLease);
    return attempt;
}

} // namespace velmorandi::platform
