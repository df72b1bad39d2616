#include "version.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmorandi;

TEST(Version, PadsRevisionToThreeDigitsAndEndsInOne) {
    // The build's own version, from the one place it is set: the project's version.
    EXPECT_EQ(GetVersion(), std::string(VELMORANDI_PROJECT_VERSION_TEXT));
    EXPECT_EQ(formatVersion(2, 10, 7), "2.10.007.1");
    EXPECT_EQ(formatVersion(2, 10, 0), "2.10.000.1");
    EXPECT_EQ(formatVersion(2, 10, 1234), "2.10.1234.1");
}
