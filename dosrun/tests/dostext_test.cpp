#include "dostext.h"

#include <gtest/gtest.h>

#include "dosfolder.h"
#include "programsearch.h"

namespace {

// What a function of dosrun's gives: its result, or the reason why not.
struct Result {
    std::string text;  // the line or the path
    std::string error;
};

Result join(const std::vector<std::string>& words) {
    Result joined;
    const bool taken = dosrun::JoinDosCommandLine(words, &joined.text, &joined.error);
    EXPECT_EQ(taken, joined.error.empty()) << joined.error;
    return joined;
}

Result dosFolderBelow(const std::string& root, const std::string& folder) {
    Result below;
    const bool taken = dosrun::DosFolderBelow(root, folder, &below.text, &below.error);
    EXPECT_EQ(taken, below.error.empty()) << below.error;
    return below;
}

}  // namespace

TEST(DosCommandLine, JoinsWithBlanksAndQuotesWhatTheShellWouldSplitOrRedirect) {
    EXPECT_EQ(join({"CL", "/c", "HELLO.C"}).text, "CL /c HELLO.C");
    EXPECT_EQ(join({"TYPE", "MY FILE.TXT"}).text, "TYPE \"MY FILE.TXT\"");
    EXPECT_EQ(join({"ECHO", "a>b", "c|d", "<x", ""}).text, "ECHO \"a>b\" \"c|d\" \"<x\" \"\"");
    // Quotes that pair up inside a word leave the line's quoting as it was.
    EXPECT_EQ(join({"CL", "-DNAME=\"x\""}).text, "CL -DNAME=\"x\"");
    // Shift-JIS bytes go through unchanged.
    EXPECT_EQ(join({"ECHO", "\x93\xfa\x96\x7b"}).text, "ECHO \x93\xfa\x96\x7b");
}

TEST(DosCommandLine, RefusesWordsThatWouldUnquoteTheRest) {
    // One quote more would open a quote that a later quoted ">" closes.
    for (const std::vector<std::string>& words : {std::vector<std::string>{"ECHO", "a\"b", "x>y"},
                                                  {"ECHO", "\"a >b\""},
                                                  {"ECHO", "a\rb"},
                                                  {"ECHO", "a\nDEL *.*"}}) {
        const auto joined = join(words);
        EXPECT_FALSE(joined.error.empty()) << words[1];
        EXPECT_TRUE(joined.text.empty());
    }
}

TEST(DosCommandLine, TakesAtMost126Characters) {
    const std::string program = "P";
    EXPECT_TRUE(join({program, std::string(124, 'x')}).error.empty());
    const auto tooLong = join({program, std::string(125, 'x')});
    EXPECT_NE(tooLong.error.find("127"), std::string::npos) << tooLong.error;
    EXPECT_NE(tooLong.error.find("126"), std::string::npos) << tooLong.error;
    // The quotes count: DOS gets them.
    EXPECT_FALSE(join({program, std::string(122, 'x') + " y"}).error.empty());
}

TEST(DosBatchText, PercentSignsStayLiteral) {
    EXPECT_EQ(dosrun::BatchLiteral("100% %PATH% x"), "100%% %%PATH%% x");
    EXPECT_EQ(dosrun::BatchLiteral("C:\\BIN"), "C:\\BIN");
}

TEST(DosBatchText, ValuesRefuseWhatTheShellActsOn) {
    std::string error;
    EXPECT_TRUE(dosrun::CheckDosValue("D:\\INCLUDE;C:\\H", &error));
    EXPECT_TRUE(dosrun::CheckDosValue("-AL -Ox 50%", &error));
    for (const char* bad : {"a>b", "a<b", "a|b", "\"x", "a\r\nECHO"})
        EXPECT_FALSE(dosrun::CheckDosValue(bad, &error)) << bad;
    EXPECT_TRUE(dosrun::CheckMountFolder("/home/me/my dos/プロジェクト 100%", &error));
    EXPECT_FALSE(dosrun::CheckMountFolder("/tmp/a\"b", &error));
    EXPECT_FALSE(dosrun::CheckMountFolder("/tmp/a\nb", &error));
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
    EXPECT_EQ(dosFolderBelow("/home/me/dos", "/home/me/dos").text, "\\");
    EXPECT_EQ(dosFolderBelow("/home/me/dos", "/home/me/dos/proj/src").text, "\\proj\\src");
    EXPECT_EQ(dosFolderBelow("/", "/tmp/x").text, "\\tmp\\x");
    // The root itself may have any name: it is mounted, not named in DOS.
    EXPECT_EQ(dosFolderBelow("/home/me/My DOS 作業", "/home/me/My DOS 作業/HELLO").text, "\\HELLO");

    const auto outside = dosFolderBelow("/home/me/dos", "/home/me/dosbox/x");
    EXPECT_TRUE(outside.text.empty());
    EXPECT_NE(outside.error.find("not below the root"), std::string::npos);
    for (const char* name : {"my proj", "ソース", "toolongname", "a.b.c", "name.long"}) {
        const auto refused = dosFolderBelow("/r", std::string("/r/ok/") + name + "/x");
        EXPECT_NE(refused.error.find(name), std::string::npos) << refused.error;
    }
}

TEST(DosFolder, NamesAreEightThree) {
    for (const char* good : {"HELLO", "a", "12345678", "READ.ME", "X.C", "A_B-C!.$$$", "{x}~1"})
        EXPECT_TRUE(dosrun::IsDosName(good)) << good;
    for (const char* bad :
         {"", ".", "..", ".git", "123456789", "a.", "a.abcd", "a b", "a+b", "a;b", "a\\b"})
        EXPECT_FALSE(dosrun::IsDosName(bad)) << bad;
}
