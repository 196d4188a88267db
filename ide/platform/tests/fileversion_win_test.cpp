// The file version from a real version resource: depmill.exe carries the
// tree's version, the test program itself carries none.
#include <gtest/gtest.h>

#include "fileversion.h"
#include "programfolder.h"

namespace {

TEST(FileVersion, ComesFromTheVersionResource) {
    std::string version = "stale";
    ASSERT_TRUE(GetFileVersionString(TestProgram("depmill").string(), version));
    EXPECT_EQ(version, VANTOR_VERSION);
}

TEST(FileVersion, WithoutAResourceThereIsNone) {
    std::string version = "stale";
    EXPECT_FALSE(GetFileVersionString(TestProgram("platform_tests").string(), version));
    EXPECT_EQ(version, "");
    EXPECT_FALSE(GetFileVersionString(TestProgram("no-such-program").string(), version));
    EXPECT_EQ(version, "");
}

}  // namespace
