// The file version from a real version resource: depmill.exe carries the
// tree's version, the test program itself carries none.
#include <gtest/gtest.h>

#include "fileversion.h"
#include "programfolder.h"

namespace {

TEST(FileVersion, ComesFromTheVersionResource) {
    const std::optional<std::string> version =
        CreateSystemFileVersionReader()->versionOf(TestProgram("depmill").string());
    ASSERT_TRUE(version);
    EXPECT_EQ(*version, VANTOR_VERSION);
}

TEST(FileVersion, WithoutAResourceThereIsNone) {
    const auto versions = CreateSystemFileVersionReader();
    EXPECT_EQ(versions->versionOf(TestProgram("platform_tests").string()), std::nullopt);
    EXPECT_EQ(versions->versionOf(TestProgram("no-such-program").string()), std::nullopt);
}

}  // namespace
