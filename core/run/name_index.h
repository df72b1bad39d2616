#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmorandi {

// A number per name, in one flat array: node-based maps spend more time
// allocating than hashing for a folder of 100,000 names. Names must outlive it.
class NameIndex {
  public:
    explicit NameIndex(std::size_t capacity);
    // The number stored for the name, inserted as `initial` when missing.
    std::uint32_t& at(std::string_view name, std::uint32_t initial = 0);
    const std::uint32_t* find(std::string_view name) const;

  private:
    struct Slot {
        const char* data = nullptr; // nullptr: free
        std::uint32_t size = 0;
        std::uint32_t hash = 0; // low bits of the name's hash
        std::uint32_t value = 0;
        std::string_view name() const { return {data, size}; }
    };
    std::size_t slotOf(std::string_view name, std::size_t hash) const;
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

} // namespace velmorandi
