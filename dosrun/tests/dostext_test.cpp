#include "dostext.h"

#include <gtest/gtest.h>

#include "dosfolder.h"
#include "programsearch.h"

using dosrun::JoinDosCommandLine;

TEST(DosCommandLine, JoinsWithBlanksAndQuotesWhatTheShellWouldSplitOrRedirect) {
    EXPECT_EQ(JoinDosCommandLine({"CL", "/c", "HELLO.C"}).line, "CL /c HELLO.C");
    EXPECT_EQ(JoinDosCommandLine({"TYPE", "MY FILE.TXT"}).line, "TYPE \"MY FILE.TXT\"");
    EXPECT_EQ(JoinDosCommandLine({"ECHO", "a>b", "c|d", "<x", ""}).line, "ECHO \"a>b\" \"c|d\" \"<x\" \"\"");
    // Quotes that pair up inside a word leave the line's quoting as it was.
    EXPECT_EQ(JoinDosCommandLine({"CL", "-DNAME=\"x\""}).line, "CL -DNAME=\"x\"");
    // Shift-JIS bytes go through unchanged.
    EXPECT_EQ(JoinDosCommandLine({"ECHO", "\x93\xfa\x96\x7b"}).line, "ECHO \x93\xfa\x96\x7b");
}

TEST(DosCommandLine, RefusesWordsThatWouldUnquoteTheRest) {
    // One quote more would open a quote that a later quoted ">" closes.
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"ECHO", "a\"b", "x>y"}, {"ECHO", "\"a >b\""}, {"ECHO", "a\rb"},
          {"ECHO", "a\nDEL *.*"}}) {
        const auto joined = JoinDosCommandLine(words);
        EXPECT_FALSE(joined.error.empty()) << words[1];
        EXPECT_TRUE(joined.line.empty());
    }
}

TEST(DosCommandLine, TakesAtMost126Characters) {
    const std::string program = "P";
    EXPECT_TRUE(JoinDosCommandLine({program, std::string(124, 'x')}).error.empty());
    const auto tooLong = JoinDosCommandLine({program, std::string(125, 'x')});
    EXPECT_NE(tooLong.error.find("127"), std::string::npos) << tooLong.error;
    EXPECT_NE(tooLong.error.find("126"), std::string::npos) << tooLong.error;
    // The quotes count: DOS gets them.
    EXPECT_FALSE(JoinDosCommandLine({program, std::string(122, 'x') + " y"}).error.empty());
}

TEST(DosBatchText, PercentSignsStayLiteral) {
    EXPECT_EQ(dosrun::BatchLiteral("100% %PATH% x"), "100%% %%PATH%% x");
    EXPECT_EQ(dosrun::BatchLiteral("C:\\BIN"), "C:\\BIN");
}

TEST(DosBatchText, ValuesRefuseWhatTheShellActsOn) {
    EXPECT_FALSE(dosrun::RefusalOfDosValue("D:\\INCLUDE;C:\\H"));
    EXPECT_FALSE(dosrun::RefusalOfDosValue("-AL -Ox 50%"));
    for (const char* bad : {"a>b", "a<b", "a|b", "\"x", "a\r\nECHO"}) EXPECT_TRUE(dosrun::RefusalOfDosValue(bad)) << bad;
    EXPECT_FALSE(dosrun::RefusalOfMountFolder("/home/me/my dos/プロジェクト 100%"));
    EXPECT_TRUE(dosrun::RefusalOfMountFolder("/tmp/a\"b"));
    EXPECT_TRUE(dosrun::RefusalOfMountFolder("/tmp/a\nb"));
}

TEST(DosBatchText, BatchProgramsAreKnownByTheirExtension) {
    EXPECT_TRUE(dosrun::IsBatchProgram("BUILD.BAT"));
    EXPECT_TRUE(dosrun::IsBatchProgram("/p/sub/build.bat"));
    EXPECT_FALSE(dosrun::IsBatchProgram("BUILD"));
    EXPECT_FALSE(dosrun::IsBatchProgram("BAT"));
    EXPECT_FALSE(dosrun::IsBatchProgram("X.BATS"));
    EXPECT_TRUE(dosrun::IsProgramFile("D:\\BINW\\wmake.exe"));
    EXPECT_TRUE(dosrun::IsProgramFile("STAND.COM"));
    EXPECT_FALSE(dosrun::IsProgramFile("BUILD.BAT"));
}

// Which program words only DOSBox's shell runs as DOS would, and which no
// program or command has.
TEST(DosProgramWord, TheShellsOwnCommandsAndWordsNoProgramHas) {
    for (const char* own : {"dir", "DIR.EXE", "cd\\SRC", "Type", "X/Y", "SET=1"})
        EXPECT_TRUE(dosrun::IsShellsOwn(own)) << own;
    for (const char* program : {"WMAKE", "D:\\BINW\\WMAKE.EXE", "DIRS", "..\\CD.COM", "TYPER.EXE"})
        EXPECT_FALSE(dosrun::IsShellsOwn(program)) << program;
    for (const char* none : {"", "NOPE X.EXE", "A\tB", "A>B", "\"X\""})
        EXPECT_FALSE(dosrun::CanNameAProgram(none)) << none;
    EXPECT_TRUE(dosrun::CanNameAProgram("D:\\BINW\\WMAKE"));
}

TEST(DosFolder, IsThePlaceBelowTheRootWithEachNameCheckedForDos) {
    EXPECT_EQ(dosrun::DosFolderBelow("/home/me/dos", "/home/me/dos").path, "\\");
    EXPECT_EQ(dosrun::DosFolderBelow("/home/me/dos", "/home/me/dos/proj/src").path, "\\proj\\src");
    EXPECT_EQ(dosrun::DosFolderBelow("/", "/tmp/x").path, "\\tmp\\x");
    // The root itself may have any name: it is mounted, not named in DOS.
    EXPECT_EQ(dosrun::DosFolderBelow("/home/me/My DOS 作業", "/home/me/My DOS 作業/HELLO").path, "\\HELLO");

    const auto outside = dosrun::DosFolderBelow("/home/me/dos", "/home/me/dosbox/x");
    EXPECT_TRUE(outside.path.empty());
    EXPECT_NE(outside.error.find("not below the root"), std::string::npos);
    for (const char* name : {"my proj", "ソース", "toolongname", "a.b.c", "name.long"}) {
        const auto refused = dosrun::DosFolderBelow("/r", std::string("/r/ok/") + name + "/x");
        EXPECT_NE(refused.error.find(name), std::string::npos) << refused.error;
    }
}

TEST(DosFolder, NamesAreEightThree) {
    for (const char* good : {"HELLO", "a", "12345678", "READ.ME", "X.C", "A_B-C!.$$$", "{x}~1"})
        EXPECT_TRUE(dosrun::IsDosName(good)) << good;
    for (const char* bad : {"", ".", "..", ".git", "123456789", "a.", "a.abcd", "a b", "a+b", "a;b", "a\\b"})
        EXPECT_FALSE(dosrun::IsDosName(bad)) << bad;
}
