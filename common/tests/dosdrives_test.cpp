#include "dosdrives.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "tempfolder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    for (const char* text :
         {"root = /a\nwhatever\n", "root = /a\ndrive CD = /x\n", "root = /a\ndrive C = /x\n",
          "root = /a\ndrive Z = /x\n", "root = /a\ncycles = fast\n", "root = /a\ntimeout = -1\n",
          "root = /a\ncolour = red\n", "root = /a\nset = 1\n"}) {
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
    static bool sameFile(const std::optional<std::string>& path,
                         const std::filesystem::path& expected) {
        std::error_code error;
        return path && std::filesystem::equivalent(*path, expected, error);
    }
    std::optional<std::string> host(const std::string& dosPath) {
        return common::HostPathOfDosPath(dosPath, settings, root.path().string(),
                                         common::CodePage::Utf8);
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
    const auto path = common::HostPathOfDosPath("C:\\" + name, settings, root.path().string(),
                                                common::CodePage::ShiftJis);
    EXPECT_EQ(path, (root.path() / name).string());
}

TEST(DosrunSettingsFile, SkipsAByteOrderMarkAndQuotesAtMost80CharactersOfALine) {
    DosrunSettings settings;
    EXPECT_FALSE(ParseDosrunSettings("\xEF\xBB\xBFroot = /x\n", settings));
    EXPECT_EQ(settings.root, "/x");
    // 100 two-byte characters: the quote ends after 80 of them, never inside one.
    std::string line;
    for (int i = 0; i < 100; ++i) line += "\xC3\xA9";
    for (const std::string& text : {line + "\n", line + " = 1\n"}) {
        const auto error = ParseDosrunSettings(text, settings);
        ASSERT_TRUE(error);
        EXPECT_NE(error->reason.find(line.substr(0, 160) + "..."), std::string::npos)
            << error->reason;
        EXPECT_EQ(error->reason.find(line.substr(0, 162)), std::string::npos) << error->reason;
    }
}

// The user's own file: a link is followed, anything that cannot be read as
// a regular file is refused with its reason, and a missing file is no error.
TEST(DosrunSettingsFile, IsReadThroughALinkAndRefusedWhenItCannotBeRead) {
    TempFolder folder;
    const auto file = folder.path() / "dosrun.conf";
    std::ofstream(file, std::ios::binary) << "root = /x\n";
    const auto load = [](const std::filesystem::path& path) {
        return common::LoadDosrunSettingsFile(path.string());
    };
    EXPECT_EQ(load(file).text, "root = /x\n");
    EXPECT_EQ(load(file).refusal, "");
    EXPECT_EQ(common::ReadDosrunSettingsFile(file.string()), "root = /x\n");
    const auto none = load(folder.path() / "none");
    EXPECT_FALSE(none.text);
    EXPECT_EQ(none.refusal, "");
    std::filesystem::create_directory(folder.path() / "folder");
    std::ofstream(folder.path() / "large") << std::string(1 << 20, '#');
    std::vector<std::filesystem::path> refused{folder.path() / "folder", folder.path() / "large"};
#ifndef _WIN32
    std::filesystem::create_symlink(file, folder.path() / "link");
    EXPECT_EQ(load(folder.path() / "link").text, "root = /x\n");
    std::filesystem::create_symlink(folder.path() / "none", folder.path() / "dangling");
    ASSERT_EQ(::mkfifo((folder.path() / "fifo").c_str(), 0600), 0);
    // Opening a FIFO for reading would wait for a writer: it is never opened.
    refused.insert(refused.end(),
                   {folder.path() / "dangling", folder.path() / "fifo", "/dev/zero"});
    std::ofstream(folder.path() / "secret") << "root = /y\n";
    std::filesystem::permissions(folder.path() / "secret", std::filesystem::perms::none);
    if (::geteuid() != 0)
        refused.push_back(folder.path() / "secret");  // root reads it all the same
#endif
    for (const auto& path : refused) {
        const auto result = load(path);
        EXPECT_FALSE(result.text) << path;
        EXPECT_NE(result.refusal, "") << path;
    }
}
