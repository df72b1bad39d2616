#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmorandi {

// Sorts file names as people read them in the user's locale: letter case
// ignored, digit runs by value (photo2 before photo10). Names that still tie
// are ordered by their bytes, so the order is total and the same on every load.
void sortNaturally(std::vector<std::string>& names);

// The same order as indexes: position -> index into names. `Cores::One` keeps
// to the calling thread, for work beside another that needs the other core.
enum class Cores { All, One };
std::vector<std::uint32_t> naturalOrder(std::span<const std::string_view> names,
                                        Cores cores = Cores::All);

} // namespace velmorandi
