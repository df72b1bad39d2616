#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The journal's bytes and sums, shared by its encoder and every decoder.
namespace velmorandi::journal_bytes {

constexpr std::uint64_t kFnvStart = 0xcbf29ce484222325ull;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;

// FNV-1a 64, a byte at a time; `hash` carries it on from the bytes before.
inline std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = kFnvStart) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kFnvPrime;
    }
    return hash;
}

// FNV-1a over eight-byte little-endian words, the last one filled with zeros:
// an eighth of the multiplications of fnv1a over a ten-megabyte section.
// Bytes may come in pieces of any size.
class WordSum {
  public:
    void add(std::string_view bytes);
    std::uint64_t value() const;

  private:
    void addByte(char c);
    void mixWord();
    std::uint64_t m_hash = kFnvStart;
    std::uint64_t m_word = 0;
    int m_filled = 0;
};

inline std::uint64_t wordSum(std::string_view bytes) {
    WordSum sum;
    sum.add(bytes);
    return sum.value();
}

// Appends little-endian numbers, length-prefixed texts and varints.
class Writer {
  public:
    explicit Writer(std::string& bytes) : m_bytes(bytes) {}
    void u8(std::uint8_t value) { m_bytes.push_back(static_cast<char>(value)); }
    void u32(std::uint32_t value) { little(value, 4); }
    void u64(std::uint64_t value) { little(value, 8); }
    void text(std::string_view value) {
        u32(static_cast<std::uint32_t>(value.size()));
        m_bytes.append(value);
    }
    void raw(std::string_view value) { m_bytes.append(value); }
    // Seven bits a byte, the lowest first; the high bit says more follow.
    // Made aside and appended at once: a million of them make a plan.
    void varint(std::uint64_t value) {
        char bytes[10];
        std::size_t size = 0;
        while (value >= 0x80) {
            bytes[size++] = static_cast<char>((value & 0x7F) | 0x80);
            value >>= 7;
        }
        bytes[size++] = static_cast<char>(value);
        m_bytes.append(bytes, size);
    }

  private:
    void little(std::uint64_t value, int size) {
        char bytes[8];
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(value >> (8 * i));
        m_bytes.append(bytes, static_cast<std::size_t>(size));
    }
    std::string& m_bytes;
};

// Every read checks the length left: a short file fails cleanly, and ok()
// stays false from the first short read on.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    void fail() { m_ok = false; }
    std::size_t offset() const { return m_offset; }
    std::size_t left() const { return m_ok ? m_bytes.size() - m_offset : 0; }
    std::uint8_t u8() { return need(1) ? static_cast<std::uint8_t>(m_bytes[m_offset++]) : 0; }
    std::uint32_t u32() { return static_cast<std::uint32_t>(little(4)); }
    std::uint64_t u64() { return little(8); }
    std::string_view text() { return raw(u32()); }
    std::uint64_t varint() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64 && m_ok; shift += 7) {
            const std::uint8_t byte = u8();
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                return value;
        }
        m_ok = false;
        return 0;
    }
    std::string_view raw(std::size_t size) {
        if (!need(size))
            return {};
        const std::string_view value = m_bytes.substr(m_offset, size);
        m_offset += size;
        return value;
    }

  private:
    std::uint64_t little(int size) {
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= static_cast<std::uint64_t>(u8()) << (8 * i);
        return value;
    }
    bool need(std::size_t size) {
        if (m_ok && m_bytes.size() - m_offset >= size)
            return true;
        m_ok = false;
        return false;
    }
    std::string_view m_bytes;
    std::size_t m_offset = 0;
    bool m_ok = true;
};

} // namespace velmorandi::journal_bytes
