#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace velmorandi {

// What an owner has lent out to be read on other threads while its own
// thread goes on. A change meanwhile would pull names from under a reader,
// and no reader could tell: so it ends the program, in every build, naming
// the owner and the change. The owner calls refuseWhileLent before each change, and from
// its destructor; moves and assignments check themselves.
class Lending {
  public:
    explicit Lending(const char* owner) : m_owner(owner) {}
    // A copy is the copier's, lent to no one.
    Lending(const Lending& from) noexcept : m_owner(from.m_owner) {}
    Lending(Lending&& from) noexcept : m_owner(from.m_owner) { from.refuseWhileLent("moved from"); }
    Lending& operator=(const Lending&) noexcept {
        refuseWhileLent("assigned to");
        return *this;
    }
    Lending& operator=(Lending&& from) noexcept {
        refuseWhileLent("assigned to");
        from.refuseWhileLent("moved from");
        return *this;
    }
    ~Lending() = default;

    bool lent() const { return m_leases.load(std::memory_order_acquire) != 0; }
    // Ends the program where a lease is out; `change` says what was tried.
    void refuseWhileLent(const char* change) const {
        if (lent())
            refused(m_owner, change);
    }

  private:
    template <class Owner> friend class Lease;
    [[noreturn]] static void refused(const char* owner, const char* change);

    const char* m_owner; // the owner's type, for the message
    mutable std::atomic<std::uint32_t> m_leases{0};
};

// A read-only handle on an owner, for another thread: while any lease of it
// is out, the owner cannot change. Copies are leases of their own; a lease
// ends when it goes, on whichever thread. Owner: `const Lending& lending() const`.
template <class Owner> class Lease {
  public:
    Lease() = default;
    Lease(std::nullptr_t) {}
    explicit Lease(const Owner& owner) : m_owner(&owner) { take(); }
    Lease(const Lease& other) : m_owner(other.m_owner) { take(); }
    Lease(Lease&& other) noexcept : m_owner(std::exchange(other.m_owner, nullptr)) {}
    Lease& operator=(Lease other) noexcept {
        std::swap(m_owner, other.m_owner);
        return *this;
    }
    ~Lease() { give(); }

    const Owner* get() const { return m_owner; }
    const Owner& operator*() const { return *m_owner; }
    const Owner* operator->() const { return m_owner; }
    explicit operator bool() const { return m_owner != nullptr; }

  private:
    void take() {
        if (m_owner != nullptr)
            m_owner->lending().m_leases.fetch_add(1, std::memory_order_relaxed);
    }
    // Released: the reads made under the lease come before the owner's next change.
    void give() {
        if (m_owner != nullptr)
            m_owner->lending().m_leases.fetch_sub(1, std::memory_order_release);
    }

    const Owner* m_owner = nullptr;
};

} // namespace velmorandi
