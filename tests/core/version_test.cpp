#include "version.h"

#include <gtest/gtest.h>

using namespace velmorandi;

TEST(Version, PadsRevisionToThreeDigitsAndEndsInOne) {
    EXPECT_EQ(GetVersion(), "1.0.184.1");
    EXPECT_EQ(formatVersion(2, 10, 7), "2.10.007.1");
    EXPECT_EQ(formatVersion(2, 10, 0), "2.10.000.1");
    EXPECT_EQ(formatVersion(2, 10, 1234), "2.10.1234.1");
}
