// The makefile path that a new project records.
#include "newprojectmakefile.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class NewProjectMakefileTest : public ::testing::Test {
  protected:
    TempFolder temp_;
    const fs::path folder = temp_.path();
};

TEST_F(NewProjectMakefileTest, AMissingFileBecomesTheGeneratorsMakefileInTheSameFolder) {
    const auto utf8 = common::CodePage::Utf8;
    EXPECT_EQ(NewProjectMakefile(folder.string() + "/Makefile", utf8),
              folder.string() + "/makefile");
    EXPECT_EQ(NewProjectMakefile(folder.string() + "/hello.mak", utf8),
              folder.string() + "/makefile");
    // DOS spellings keep their separators and drive.
    EXPECT_EQ(NewProjectMakefile("C:\\no-such-folder\\HELLO.MAK", utf8),
              "C:\\no-such-folder\\makefile");
    EXPECT_EQ(NewProjectMakefile("Z:HELLO.MAK", utf8), "Z:makefile");
    EXPECT_EQ(NewProjectMakefile("/HELLO.MAK", utf8), "/makefile");
    // No folder typed: still no folder, so the project stays without one.
    EXPECT_EQ(NewProjectMakefile("hello.mak", utf8), "makefile");
}

TEST_F(NewProjectMakefileTest, AnExistingFileOrNoFileIsKept) {
    const std::string existing = folder.string() + "/project.mak";
    std::ofstream(existing) << "PROGRAM = hello.exe\n";
    EXPECT_EQ(NewProjectMakefile(existing, common::CodePage::Utf8), existing);
    EXPECT_EQ(NewProjectMakefile("", common::CodePage::Utf8), "");
}

TEST_F(NewProjectMakefileTest, AShiftJisTrailByteIsNoSeparator) {
    // "表" is 0x95 0x5C in Shift-JIS: the 0x5C belongs to the character.
    const std::string path = "C:\\no-such\\\x95\x5C.mak";
    EXPECT_EQ(NewProjectMakefile(path, common::CodePage::ShiftJis), "C:\\no-such\\makefile");
}

}  // namespace
