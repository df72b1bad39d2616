#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>

namespace velmorandi {

// A name a run's move refers to, read like a std::string_view: where its
// bytes lie and how many there are, in one word instead of two. An address
// takes at most 48 bits wherever this program runs, and no file name comes
// near 64 KiB. A run of a million files names three million names: as views
// they were a third of its memory.
class MoveName {
  public:
    MoveName() = default;
    MoveName(std::string_view name) : m_word(pack(name)) {}
    MoveName(const std::string& name) : MoveName(std::string_view(name)) {}
    MoveName(const char* name) : MoveName(std::string_view(name)) {}

    operator std::string_view() const { return {data(), size()}; }
    const char* data() const { return reinterpret_cast<const char*>(m_word & kAddressMask); }
    std::size_t size() const { return static_cast<std::size_t>(m_word >> kAddressBits); }
    bool empty() const { return size() == 0; }

    friend bool operator==(const MoveName& a, const MoveName& b) {
        return std::string_view(a) == std::string_view(b);
    }
    template <class Text>
    requires(std::is_convertible_v<const Text&, std::string_view> &&
             !std::is_same_v<Text, MoveName>) friend bool
    operator==(const MoveName& a, const Text& b) {
        return std::string_view(a) == std::string_view(b);
    }

  private:
    static constexpr unsigned kAddressBits = 48;
    static constexpr std::uint64_t kAddressMask = (std::uint64_t{1} << kAddressBits) - 1;
    // Longer than any file system's name: such a name is refused before a
    // move is made of it, or, read from a journal, fails as too long all the same.
    static constexpr std::size_t kLongest = 0xFFFF;

    static std::uint64_t pack(std::string_view name) {
        static_assert(sizeof(void*) == sizeof(std::uint64_t));
        const auto address = reinterpret_cast<std::uintptr_t>(name.data());
        // Never seen on the systems this program is built for; a name cut
        // short would rename the wrong file, so nothing goes on.
        if (address > kAddressMask)
            std::abort();
        const std::uint64_t size = name.size() < kLongest ? name.size() : kLongest;
        return address | size << kAddressBits;
    }

    std::uint64_t m_word = 0;
};

} // namespace velmorandi
