// The sort keys, their shared prefix dropped and made on two threads, must
// order exactly as the collator compares, in any locale.
#include "platform/natural_order.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace velmorandi {
namespace {

// Pieces that collations treat differently: case, accents, digit runs with
// leading zeros, punctuation, other scripts, a character beyond U+FFFF, a
// combining mark and a byte that is not UTF-8.
const char* const kPieces[] = {"a",
                               "A",
                               "b",
                               "B",
                               "z",
                               "Z",
                               "aa",
                               "ch",
                               "i",
                               "I",
                               "y",
                               "o",
                               " ",
                               "_",
                               "-",
                               ".",
                               "(",
                               "0",
                               "00",
                               "7",
                               "09",
                               "10",
                               "123",
                               "0042",
                               "4294967296",
                               "\xc3\xa9",
                               "\xc3\x89",
                               "e\xcc\x81",
                               "\xc3\xbc",
                               "\xc3\xa5",
                               "\xc3\xb8",
                               "\xc3\x9f",
                               "\xc4\xb1",
                               "\xce\xb1",
                               "\xd0\x96",
                               "\xd7\x90",
                               "\xd8\xb9",
                               "\xe4\xb8\xad",
                               "\xe3\x81\x8b",
                               "\xf0\x9f\x98\x80",
                               "\xff"};

// ASCII alone, which has a path of its own: every printable character, the
// controls the collator ignores, and digit runs with zeros on both sides.
std::vector<std::string> asciiPieces() {
    std::vector<std::string> pieces;
    for (char c = 1; c < 127; ++c)
        pieces.emplace_back(1, c);
    for (const char* run :
         {"00", "007", "10", "100", "1000", "1001", "0100", "99", "18446744073709551616"})
        pieces.emplace_back(run);
    return pieces;
}

std::vector<std::string> randomNames(std::size_t count, unsigned seed, bool asciiOnly) {
    static const std::vector<std::string> kAscii = asciiPieces();
    const std::vector<std::string> mixed(std::begin(kPieces), std::end(kPieces));
    const std::vector<std::string>& pieces = asciiOnly ? kAscii : mixed;
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 7);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) {
        // Half share a long beginning, as the files of one camera do.
        std::string name = i % 2 ? "Holiday photo 2024-" : "";
        for (int n = length(random) + 1; n > 0; --n)
            name += pieces[piece(random)];
        names.push_back(name);
        if (i % 97 == 0)
            names.push_back(name); // the same bytes twice
    }
    return names;
}

// The plain path: the collator's own comparison, bytes on ties.
std::vector<std::string> sortedByCollator(std::vector<std::string> names) {
    const icu::Locale locale = std::string(icu::Locale::getDefault().getVariant()) == "POSIX"
                                   ? icu::Locale::getRoot()
                                   : icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    collator->setStrength(icu::Collator::SECONDARY);
    collator->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    EXPECT_TRUE(U_SUCCESS(status));
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        UErrorCode error = U_ZERO_ERROR;
        const UCollationResult order = collator->compareUTF8(a, b, error);
        return order != UCOL_EQUAL ? order == UCOL_LESS : a < b;
    });
    return names;
}

TEST(NaturalOrder, SortKeysOrderAsTheCollatorComparesInEveryLocale) {
    const icu::Locale saved = icu::Locale::getDefault();
    unsigned seed = 11;
    for (const char* locale : {"en_US", "sv_SE", "da_DK", "tr_TR", "de__PHONEBOOK", "ja_JP",
                               "en_US_POSIX", "cs_CZ", "hu_HU", "th_TH", "fr_CA", "lt_LT"}) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale(locale), status);
        // Above and below the size from which two threads share the work.
        for (const std::size_t count : {std::size_t{300}, std::size_t{20000}}) {
            for (const bool asciiOnly : {false, true}) {
                std::vector<std::string> names = randomNames(count, ++seed, asciiOnly);
                if (asciiOnly && count < 1000)
                    names.push_back(std::string(255, '7')); // more digits than one number holds
                const std::vector<std::string> expected = sortedByCollator(names);
                // Keys made one name at a time, as a folder is read.
                NaturalSortKeys keys;
                const std::vector<std::string_view> views(names.begin(), names.end());
                for (const std::string_view name : views)
                    keys.add(name);
                std::vector<std::string> asRead;
                for (const std::uint32_t index : keys.order(views))
                    asRead.push_back(names[index]);
                ASSERT_EQ(asRead, expected)
                    << locale << ", " << count << (asciiOnly ? " ASCII" : "") << " names as read";
                sortNaturally(names);
                ASSERT_EQ(names, expected)
                    << locale << ", " << count << (asciiOnly ? " ASCII" : "") << " names";
                // Sorted names are found in order; two neighbours swapped, they are not.
                const auto nameIn = [](const std::vector<std::string>& list) {
                    return [&list](std::size_t i) { return std::string_view(list[i]); };
                };
                EXPECT_TRUE(inNaturalOrder(expected.size(), nameIn(expected))) << locale;
                std::vector<std::string> swapped = expected;
                std::size_t at = seed % (swapped.size() - 1);
                while (swapped[at] == swapped[at + 1])
                    ++at;
                std::swap(swapped[at], swapped[at + 1]);
                EXPECT_FALSE(inNaturalOrder(swapped.size(), nameIn(swapped)))
                    << locale << ", " << swapped[at] << " before " << swapped[at + 1];
            }
        }
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(saved, status);
}

} // namespace
} // namespace velmorandi
