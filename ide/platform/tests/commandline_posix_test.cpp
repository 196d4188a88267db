// Splitting Windows-style command lines and finding their programs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "commandline_posix.h"
#include "tempfolder.h"

namespace fs = std::filesystem;
using Args = std::vector<std::string>;
using common::CodePage;

TEST(CommandLineSplit, BlanksTabsAndQuotes) {
    EXPECT_EQ(SplitCommandLine("  make  -f\tmakefile  ", CodePage::Utf8),
              (Args{"make", "-f", "makefile"}));
    EXPECT_EQ(SplitCommandLine("cl \"a b.c\" x\"y z\"w \"\"", CodePage::Utf8),
              (Args{"cl", "a b.c", "xy zw", ""}));
    EXPECT_EQ(SplitCommandLine("", CodePage::Utf8), Args{});
    EXPECT_EQ(SplitCommandLine(" \t ", CodePage::Utf8), Args{});
    EXPECT_EQ(SplitCommandLine("p \"open to the end", CodePage::Utf8),
              (Args{"p", "open to the end"}));
}

TEST(CommandLineSplit, BackslashesBeforeQuotes) {
    // 2n backslashes: n of them and the quote groups; 2n+1: n and a quote.
    EXPECT_EQ(SplitCommandLine(R"(p a\\"b c" d)", CodePage::Utf8), (Args{"p", R"(a\b c)", "d"}));
    EXPECT_EQ(SplitCommandLine(R"(p a\"b c)", CodePage::Utf8), (Args{"p", R"(a"b)", "c"}));
    EXPECT_EQ(SplitCommandLine(R"(p a\\\"b)", CodePage::Utf8), (Args{"p", R"(a\"b)"}));
    EXPECT_EQ(SplitCommandLine(R"(p c:\dir\ "x\\" \\server\s)", CodePage::Utf8),
              (Args{"p", R"(c:\dir\)", R"(x\)", R"(\\server\s)"}));
}

TEST(CommandLineSplit, DoubledQuoteInsideQuotesStaysQuoted) {
    EXPECT_EQ(SplitCommandLine(R"(p "a""b c" d)", CodePage::Utf8), (Args{"p", R"(a"b c)", "d"}));
    EXPECT_EQ(SplitCommandLine(R"(p a""b)", CodePage::Utf8), (Args{"p", "ab"}));
}

TEST(CommandLineSplit, ProgramNameHasNoEscapes) {
    EXPECT_EQ(SplitCommandLine(R"("c:\my tools\x.exe" "a\"b")", CodePage::Utf8),
              (Args{R"(c:\my tools\x.exe)", R"(a"b)"}));
    EXPECT_EQ(SplitCommandLine(R"(dir\\"x y"z w)", CodePage::Utf8), (Args{R"(dir\\x yz)", "w"}));
}

TEST(CommandLineSplit, ShiftJisTrailByteIsNoBackslash) {
    // "\x83\x5c" is one double-byte character whose second byte is 0x5C.
    const std::string line = "p \"\x83\x5c\" next";
    EXPECT_EQ(SplitCommandLine(line, CodePage::ShiftJis), (Args{"p", "\x83\x5c", "next"}));
    EXPECT_EQ(SplitCommandLine(line, CodePage::Utf8), (Args{"p", "\x83\" next"}));
}

TEST(CommandLineInterpreter, CmdSlashCForms) {
    EXPECT_EQ(CommandInterpreterRest("cmd /cmake |cat -u"), "make |cat -u");
    EXPECT_EQ(CommandInterpreterRest("CMD /C make all"), "make all");
    EXPECT_EQ(CommandInterpreterRest("  Cmd.Exe /c  echo x"), "echo x");
    EXPECT_EQ(CommandInterpreterRest("cmd/cecho"), "echo");
    EXPECT_EQ(CommandInterpreterRest("cmd /c"), "");
    EXPECT_FALSE(CommandInterpreterRest("cmd /k dir"));
    EXPECT_FALSE(CommandInterpreterRest("cmdx /c dir"));
    EXPECT_FALSE(CommandInterpreterRest("make cmd /c"));
    EXPECT_FALSE(CommandInterpreterRest("cmd"));
}

class CommandLineSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root_ / "own");
        fs::create_directories(root_ / "bin1");
        fs::create_directories(root_ / "bin2");
    }

    std::string makeFile(const fs::path& relative, bool executable) {
        const fs::path path = root_ / relative;
        std::ofstream(path) << "#!/bin/sh\n";
        fs::permissions(path, executable ? fs::perms::owner_all : fs::perms::owner_read);
        return path.string();
    }
    std::string at(const char* relative) const { return (root_ / relative).string(); }
    std::string searchPath() const { return at("bin1") + "::" + at("bin2"); }

    TempFolder temp_;
    const fs::path root_ = temp_.path();
};

TEST_F(CommandLineSearch, OwnFolderFirstThenPathInOrder) {
    const std::string inBin2 = makeFile("bin2/tool", true);
    EXPECT_EQ(FindProgram("tool", at("own"), searchPath(), CodePage::Utf8), inBin2);
    const std::string inBin1 = makeFile("bin1/tool", true);
    EXPECT_EQ(FindProgram("tool", at("own"), searchPath(), CodePage::Utf8), inBin1);
    const std::string own = makeFile("own/tool", true);
    EXPECT_EQ(FindProgram("tool", at("own"), searchPath(), CodePage::Utf8), own);
}

TEST_F(CommandLineSearch, SkipsFilesThatCannotRunAndFolders) {
    makeFile("own/tool", false);
    fs::create_directories(root_ / "bin1" / "tool");
    const std::string found = makeFile("bin2/tool", true);
    EXPECT_EQ(FindProgram("tool", at("own"), searchPath(), CodePage::Utf8), found);
    EXPECT_FALSE(FindProgram("absent", at("own"), searchPath(), CodePage::Utf8));
    EXPECT_FALSE(FindProgram("", at("own"), searchPath(), CodePage::Utf8));
}

TEST_F(CommandLineSearch, NamesWithSeparatorsArePaths) {
    const std::string tool = makeFile("bin1/tool", true);
    EXPECT_EQ(FindProgram(tool, "", "", CodePage::Utf8), tool);
    // A path is not looked up in the search folders.
    makeFile("bin2/sub", true);
    EXPECT_FALSE(FindProgram("./sub", "", searchPath(), CodePage::Utf8));
    // Backslashes separate as they do on Windows.
    std::string dosStyle = at("bin1") + "\\tool";
    EXPECT_EQ(FindProgram(dosStyle, "", "", CodePage::Utf8), tool);
}

TEST_F(CommandLineSearch, ExeSuffixFallsBackToThePlainName) {
    const std::string tool = makeFile("bin1/depmill", true);
    EXPECT_EQ(FindProgram("depmill.exe", "", searchPath(), CodePage::Utf8), tool);
    EXPECT_EQ(FindProgram("DEPMILL.EXE", "", searchPath(), CodePage::Utf8), std::nullopt);
    const std::string withExe = makeFile("bin2/x.exe", true);
    EXPECT_EQ(FindProgram("x.exe", "", searchPath(), CodePage::Utf8), withExe);
}

TEST(CommandLineResolve, InterpreterEmptyAndMissing) {
    const auto shell = ResolveCommandLine("cmd /cmake |cat -u", CodePage::Utf8);
    ASSERT_TRUE(shell);
    EXPECT_EQ(shell->program, "/bin/sh");
    EXPECT_EQ(shell->argv, (Args{"sh", "-c", "make |cat -u"}));

    const auto sh = ResolveCommandLine("sh -c \"echo hi\"", CodePage::Utf8);
    ASSERT_TRUE(sh);
    EXPECT_TRUE(fs::equivalent(sh->program, "/bin/sh"));
    EXPECT_EQ(sh->argv, (Args{"sh", "-c", "echo hi"}));

    EXPECT_FALSE(ResolveCommandLine("", CodePage::Utf8));
    EXPECT_FALSE(ResolveCommandLine("   ", CodePage::Utf8));
    EXPECT_FALSE(ResolveCommandLine("\"\" x", CodePage::Utf8));
    EXPECT_FALSE(ResolveCommandLine("no-such-program-vantor x", CodePage::Utf8));
}

TEST(CommandLineResolve, OwnFolderIsTheTestProgramsFolder) {
    EXPECT_EQ(fs::path(OwnProgramFolder()), fs::canonical("/proc/self/exe").parent_path());
}
