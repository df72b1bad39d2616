#include "run/name_index.h"

#include <functional>

namespace velmorandi {

NameIndex::NameIndex(std::size_t capacity) {
    std::size_t size = 16;
    while (size < 2 * capacity)
        size *= 2;
    m_slots.resize(size);
    m_mask = size - 1;
}

std::size_t NameIndex::slotOf(std::string_view name, std::size_t hash) const {
    const auto tag = static_cast<std::uint32_t>(hash);
    std::size_t index = hash & m_mask;
    while (m_slots[index].data && (m_slots[index].hash != tag || m_slots[index].name() != name))
        index = (index + 1) & m_mask;
    return index;
}

std::uint32_t& NameIndex::at(std::string_view name, std::uint32_t initial) {
    static const char empty = '\0';
    const std::size_t hash = std::hash<std::string_view>()(name);
    Slot& slot = m_slots[slotOf(name, hash)];
    if (!slot.data)
        slot = {name.empty() ? &empty : name.data(), static_cast<std::uint32_t>(name.size()),
                static_cast<std::uint32_t>(hash), initial};
    return slot.value;
}

const std::uint32_t* NameIndex::find(std::string_view name) const {
    const Slot& slot = m_slots[slotOf(name, std::hash<std::string_view>()(name))];
    return slot.data ? &slot.value : nullptr;
}

} // namespace velmorandi
