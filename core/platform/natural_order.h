#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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

// Whether `count` names, asked for one at a time, stand in that order already,
// none before the one ahead of it: a list whose order an edit kept needs no
// sort, and finding that out keeps no more than two names' keys.
bool inNaturalOrder(std::size_t count, const std::function<std::string_view(std::size_t)>& nameAt);

// The same order, for names that come one at a time as a folder is read: the
// keys of most names are made as they come, while the system reads on.
class NaturalSortKeys {
  public:
    NaturalSortKeys();
    ~NaturalSortKeys();
    NaturalSortKeys(const NaturalSortKeys&) = delete;
    NaturalSortKeys& operator=(const NaturalSortKeys&) = delete;

    void add(std::string_view name);
    // `names`: the names added, in the same order.
    std::vector<std::uint32_t> order(std::span<const std::string_view> names,
                                     Cores cores = Cores::All);

  private:
    struct Made;
    std::unique_ptr<Made> m_made;
};

} // namespace velmorandi
