#include "dosdrives.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "tempfolder.h"

using common::DosrunSettings;
using common::ParseDosrunSettings;

TEST(DosrunSettingsFile, ReadsEveryKindOfLineAndSkipsCommentsAndBlanks) {
    DosrunSettings settings;
    const auto error = ParseDosrunSettings(
        "# the compiler\n"
        "root = /home/me/dos\r\n"
        "\n"
        "drive d = /opt/msc\n"
        "  drive E=/opt/lsic  \n"
        "path = C:\\BIN;D:\\BIN\n"
        "set INCLUDE = D:\\INCLUDE\n"
        "set LIB=D:\\LIB\n"
        "set include = D:\\H\n"
        "cycles = fixed 20000\n"
        "timeout = 30\n",
        settings);
    ASSERT_FALSE(error) << error->reason;
    EXPECT_EQ(settings.root, "/home/me/dos");
    EXPECT_EQ(settings.drives.at('D'), "/opt/msc");
    EXPECT_EQ(settings.drives.at('E'), "/opt/lsic");
    EXPECT_EQ(settings.path, "C:\\BIN;D:\\BIN");
    // A variable set twice keeps its first place and takes the last value.
    ASSERT_EQ(settings.environment.size(), 2u);
    EXPECT_EQ(settings.environment[0].first, "INCLUDE");
    EXPECT_EQ(settings.environment[0].second, "D:\\H");
    EXPECT_EQ(settings.environment[1].second, "D:\\LIB");
    EXPECT_EQ(settings.cycles, "fixed 20000");
    EXPECT_EQ(settings.timeoutSeconds, 30);
}

TEST(DosrunSettingsFile, NamesTheFirstBadLine) {
    for (const char* text : {"root = /a\nwhatever\n", "root = /a\ndrive CD = /x\n", "root = /a\ndrive C = /x\n",
                             "root = /a\ndrive Z = /x\n", "root = /a\ncycles = fast\n",
                             "root = /a\ntimeout = -1\n", "root = /a\ncolour = red\n", "root = /a\nset = 1\n"}) {
        DosrunSettings settings;
        const auto error = ParseDosrunSettings(text, settings);
        ASSERT_TRUE(error) << text;
        EXPECT_EQ(error->line, 2) << text;
        EXPECT_FALSE(error->reason.empty());
    }
}

TEST(DosrunSettingsFile, CyclesTakeOnlyWhatDosboxReads) {
    for (const char* good : {"max", "auto", "3000", "fixed 5000", "max 80%"})
        EXPECT_FALSE(common::CheckCycles(good)) << good;
    // A line end or a section head would change DOSBox's configuration.
    for (const char* bad : {"", "max\n[autoexec]", "fixed", "max 80", "1e6", "fixed 1 2"})
        EXPECT_TRUE(common::CheckCycles(bad)) << bad;
}

class DosPathOnHost : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(root.path() / "Proj" / "src");
        std::ofstream(root.path() / "Proj" / "hello.c") << "x";
        std::ofstream(root.path() / "Proj" / "HELLO.H") << "x";
        std::filesystem::create_directories(compiler.path() / "include");
        settings.drives['D'] = compiler.path().string();
    }
    // On a file system that ignores letter case the name stays as written:
    // the same file is what counts.
    static bool sameFile(const std::optional<std::string>& path, const std::filesystem::path& expected) {
        std::error_code error;
        return path && std::filesystem::equivalent(*path, expected, error);
    }
    std::optional<std::string> host(const std::string& dosPath) {
        return common::HostPathOfDosPath(dosPath, settings, root.path().string(), common::CodePage::Utf8);
    }
    TempFolder root;
    TempFolder compiler;
    DosrunSettings settings;
};

TEST_F(DosPathOnHost, DriveCIsTheRootAndLetterCaseIsIgnoredWhereTheNameIsNotExact) {
    EXPECT_TRUE(sameFile(host("C:\\PROJ\\HELLO.C"), root.path() / "Proj" / "hello.c"));
    EXPECT_TRUE(sameFile(host("c:/proj/hello.h"), root.path() / "Proj" / "HELLO.H"));
    EXPECT_TRUE(sameFile(host("C:\\Proj\\SRC\\..\\hello.c"), root.path() / "Proj" / "hello.c"));
#ifndef _WIN32
    EXPECT_EQ(host("C:\\PROJ\\HELLO.C"), (root.path() / "Proj" / "hello.c").string());
#endif
    // A name found nowhere stays as written, so the editor shows what is missing.
    EXPECT_TRUE(host("C:\\PROJ\\NEW.C")->ends_with("NEW.C"));
}

TEST_F(DosPathOnHost, OtherDrivesComeFromTheSettingsAndTheRootFromTheSettingsFirst) {
    EXPECT_TRUE(sameFile(host("D:\\INCLUDE"), compiler.path() / "include"));
    EXPECT_FALSE(host("E:\\X.H"));
    EXPECT_FALSE(host("HELLO.C"));
    EXPECT_FALSE(host("\\PROJ\\HELLO.C"));
    settings.root = compiler.path().string();
    EXPECT_TRUE(sameFile(host("C:\\INCLUDE"), compiler.path() / "include"));
}

TEST_F(DosPathOnHost, AShiftJisTrailByteIsNoSeparator) {
    // "表" is 0x95 0x5C in Shift-JIS: the 0x5C belongs to the character.
    const std::string name = "\x95\x5c.C";
    const auto path =
        common::HostPathOfDosPath("C:\\" + name, settings, root.path().string(), common::CodePage::ShiftJis);
    EXPECT_EQ(path, (root.path() / name).string());
}

TEST(DosrunSettingsFile, IsReadOnlyWhenItIsARegularFile) {
    TempFolder folder;
    const auto file = folder.path() / "dosrun.conf";
    std::ofstream(file) << "root = /x\n";
    EXPECT_EQ(common::ReadDosrunSettingsFile(file.string()), "root = /x\n");
    EXPECT_FALSE(common::ReadDosrunSettingsFile((folder.path() / "none").string()));
    EXPECT_FALSE(common::ReadDosrunSettingsFile(folder.path().string()));
}
