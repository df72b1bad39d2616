#include "name_set.h"

#include <cstring>
#include <functional>

namespace velmorandi {

// Open addressing in one flat array: a node-based set spends more time
// allocating than hashing for a folder of 100,000 names.
NameSet::NameSet(std::size_t capacity) {
    std::size_t size = 16;
    while (size < 2 * capacity)
        size *= 2;
    m_slots.resize(size);
    m_mask = size - 1;
}

void NameSet::insert(std::string_view name) {
    static const char empty = '\0';
    const std::size_t hash = std::hash<std::string_view>()(name);
    std::size_t index = hash & m_mask;
    while (m_slots[index].data)
        index = (index + 1) & m_mask;
    m_slots[index] = {hash, name.empty() ? &empty : name.data(), name.size()};
}

bool NameSet::contains(std::string_view name) const {
    const std::size_t hash = std::hash<std::string_view>()(name);
    for (std::size_t index = hash & m_mask; m_slots[index].data; index = (index + 1) & m_mask) {
        const Slot& slot = m_slots[index];
        if (slot.hash == hash && slot.size == name.size() &&
            std::memcmp(slot.data, name.data(), name.size()) == 0)
            return true;
    }
    return false;
}

} // namespace velmorandi
