#include "platform/utf8.h"

namespace velmorandi {
namespace {

struct LeadByte {
    int continuations;
    std::uint32_t bits;
    unsigned char secondLow; // the second byte's range narrows overlong and out-of-range forms
    unsigned char secondHigh;
};

bool lead(unsigned char byte, Surrogates surrogates, LeadByte& info) {
    if (byte >= 0xC2 && byte <= 0xDF)
        info = {1, byte & 0x1Fu, 0x80, 0xBF};
    else if (byte == 0xE0)
        info = {2, 0, 0xA0, 0xBF};
    else if (byte == 0xED)
        info = {2, 0xD, 0x80,
                static_cast<unsigned char>(surrogates == Surrogates::Allowed ? 0xBF : 0x9F)};
    else if (byte >= 0xE1 && byte <= 0xEF)
        info = {2, byte & 0x0Fu, 0x80, 0xBF};
    else if (byte == 0xF0)
        info = {3, 0, 0x90, 0xBF};
    else if (byte >= 0xF1 && byte <= 0xF3)
        info = {3, byte & 0x07u, 0x80, 0xBF};
    else if (byte == 0xF4)
        info = {3, 4, 0x80, 0x8F};
    else
        return false;
    return true;
}

} // namespace

std::int32_t nextCodePoint(std::string_view text, std::size_t& offset, Surrogates surrogates) {
    const auto first = static_cast<unsigned char>(text[offset++]);
    if (first < 0x80)
        return first;
    LeadByte info{};
    if (!lead(first, surrogates, info))
        return -1;
    std::uint32_t codePoint = info.bits;
    for (int i = 0; i < info.continuations; ++i) {
        if (offset == text.size())
            return -1;
        const auto byte = static_cast<unsigned char>(text[offset]);
        const unsigned char low = i == 0 ? info.secondLow : 0x80;
        const unsigned char high = i == 0 ? info.secondHigh : 0xBF;
        if (byte < low || byte > high)
            return -1;
        codePoint = (codePoint << 6) | (byte & 0x3Fu);
        ++offset;
    }
    return static_cast<std::int32_t>(codePoint);
}

bool isValidUtf8(std::string_view text) {
    std::size_t offset = 0;
    while (offset < text.size())
        if (nextCodePoint(text, offset) < 0)
            return false;
    return true;
}

void appendUtf8(std::string& target, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        target.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        target.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        target.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        target.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        target.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        target.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        target.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        target.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        target.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        target.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace velmorandi
