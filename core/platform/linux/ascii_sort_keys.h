#pragma once

#include <unicode/coll.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace velmorandi {

// Sort keys for names made of ASCII alone, a few times cheaper to make than the
// collator's own. Two keys compare as the collator compares their names: one
// weight per character, read from the collator itself, and each digit run as
// its value. Only offered where that holds for every ASCII name.
class AsciiSortKeys {
  public:
    // Nothing where the collation of ASCII cannot be put that way: ASCII
    // contractions or expansions, or characters that differ only in accent.
    static std::optional<AsciiSortKeys> derive(const icu::Collator& collator);

    // True when every name is ASCII and no digit run is longer than the
    // collator reads as one number.
    static bool covers(std::span<const std::string_view> names);

    // Appends the key of a name it covers; appends nothing and returns false
    // for a name it does not cover. One pass over the name either way.
    bool append(std::string_view name, std::vector<std::uint8_t>& key) const;

  private:
    AsciiSortKeys() = default;

    std::array<std::uint8_t, 128> m_weight{}; // 0: the collator ignores the character
    std::uint8_t m_digitRun = 0;              // the weight every digit run starts with
};

} // namespace velmorandi
