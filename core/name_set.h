#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace velmorandi {

// Membership tests over many file names, as exact bytes. It refers to the
// inserted texts, which must outlive it; it never holds more than `capacity`.
class NameSet {
  public:
    explicit NameSet(std::size_t capacity);
    void insert(std::string_view name);
    bool contains(std::string_view name) const;

  private:
    struct Slot {
        std::size_t hash = 0;
        const char* data = nullptr; // nullptr: free
        std::size_t size = 0;
    };
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

} // namespace velmorandi
