#pragma once

#include "letter_case.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// The key under which the folder compares a name: the name itself, or where
// letter case is ignored its folded form. Keys live as long as this object
// and the names they were made from; nothing is copied where case counts.
class NameKeys {
  public:
    explicit NameKeys(bool ignoresCase) : m_ignoresCase(ignoresCase) {}
    std::string_view operator()(std::string_view name) {
        if (!m_ignoresCase)
            return name;
        return m_folded.emplace_back(foldCase(name));
    }

  private:
    bool m_ignoresCase;
    std::deque<std::string> m_folded;
};

// One name of every item as a key, by the item's place: where case counts the
// names themselves, with nothing kept; else their folded forms, made once.
// Index by it through a reference: the folded keys live in this object.
template <class Items, class NameOf> class KeysByPlace {
  public:
    KeysByPlace(const Items& items, NameOf nameOf, bool ignoresCase)
        : m_items(items), m_nameOf(nameOf), m_keyOf(ignoresCase), m_ignoresCase(ignoresCase) {
        if (!ignoresCase)
            return;
        m_keys.reserve(items.size());
        for (const auto& item : items)
            m_keys.push_back(m_keyOf(m_nameOf(item)));
    }
    KeysByPlace(const KeysByPlace&) = delete;
    KeysByPlace& operator=(const KeysByPlace&) = delete;

    std::string_view operator()(std::uint32_t place) const {
        return m_ignoresCase ? m_keys[place] : std::string_view(m_nameOf(m_items[place]));
    }

  private:
    const Items& m_items;
    NameOf m_nameOf;
    NameKeys m_keyOf;
    bool m_ignoresCase;
    std::vector<std::string_view> m_keys;
};

} // namespace velmorandi
