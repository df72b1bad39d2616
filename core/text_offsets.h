#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmorandi {

// Growing offsets into one text, four bytes each instead of eight: only the
// places where an offset passes another 4 GiB are kept whole, which no folder
// of file names ever reaches.
class TextOffsets {
  public:
    TextOffsets() = default;
    explicit TextOffsets(std::uint64_t first) { push_back(first); }

    void reserve(std::size_t count) { m_low.reserve(count); }
    // `offset` is not below the one before.
    void push_back(std::uint64_t offset) {
        while (m_wraps.size() < (offset >> 32))
            m_wraps.push_back(m_low.size());
        m_low.push_back(static_cast<std::uint32_t>(offset));
    }
    std::uint64_t operator[](std::size_t index) const {
        if (m_wraps.empty())
            return m_low[index];
        const auto wraps =
            std::upper_bound(m_wraps.begin(), m_wraps.end(), index) - m_wraps.begin();
        return static_cast<std::uint64_t>(wraps) << 32 | m_low[index];
    }
    std::size_t size() const { return m_low.size(); }

  private:
    std::vector<std::uint32_t> m_low;
    std::vector<std::size_t> m_wraps; // the first index past each multiple of 4 GiB
};

} // namespace velmorandi
