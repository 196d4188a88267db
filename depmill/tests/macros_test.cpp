// Unit tests of reading the previous makefile: its HDRPATH words and the
// head block of macro definitions.
#include <gtest/gtest.h>

#include <sstream>

#include "endstatus.h"
#include "macros.h"
#include "memoryfolder.h"

namespace {

using depmill::MacroTable;
using depmill_test::MemoryFolder;
using depmill_testing::endStatus;

struct HeaderPath {
    bool ok;
    std::vector<std::string> dirs;
    std::string err;
};

// The HDRPATH of a makefile of this text; a failure ends the run with status 2.
HeaderPath readHeaderPath(const std::string& text, std::vector<std::string> dirs = {}) {
    MemoryFolder folder;
    folder.file("makefile", text);
    std::ostringstream err;
    const std::optional<int> status =
        endStatus([&] { depmill::readHeaderPath("makefile", dirs, folder, err); });
    EXPECT_TRUE(!status || *status == 2);
    return {!status, dirs, err.str()};
}

TEST(HeaderPath, WordsOfTheFirstHdrpathLineEachOnce) {
    HeaderPath h = readHeaderPath(
        "CC\t= cl\n  HDRPATH \t= ..\\header\t..\\inc  ..\\header \nHDRPATH = later\n",
        {"..\\header"});
    EXPECT_TRUE(h.ok);
    EXPECT_EQ(h.dirs, (std::vector<std::string>{"..\\header", "..\\inc"}));
    EXPECT_EQ(h.err, "");

    // Continuations and comments mean nothing to this raw read.
    h = readHeaderPath("# HDRPATH = no\nX = \\\nHDRPATH = a\\\nb\r\n");
    EXPECT_EQ(h.dirs, std::vector<std::string>{"a\\"});

    EXPECT_TRUE(readHeaderPath("HDRPATH\t=\nall: x\n").dirs.empty());
    EXPECT_TRUE(readHeaderPath("HDRPATHX = a\nHDRPATH: b\nXHDRPATH = c\n").dirs.empty());
    EXPECT_TRUE(readHeaderPath("").dirs.empty());
}

TEST(HeaderPath, TenFoldersAtMost) {
    std::vector<std::string> nine;
    for (int i = 0; i < 9; ++i) nine.push_back("d" + std::to_string(i));
    HeaderPath h = readHeaderPath("HDRPATH = d0 x\n", nine);
    EXPECT_TRUE(h.ok);
    EXPECT_EQ(h.dirs.size(), 10u);

    // Full: even a word that is already there fails.
    nine.push_back("x");
    h = readHeaderPath("HDRPATH = d0\n", nine);
    EXPECT_FALSE(h.ok);
    EXPECT_EQ(h.err, "Depmill: too many include path\n");
}

TEST(HeaderPath, MissingFileFails) {
    MemoryFolder folder;
    std::vector<std::string> dirs;
    std::ostringstream err;
    EXPECT_EQ(endStatus([&] { depmill::readHeaderPath("makefile", dirs, folder, err); }), 2);
    EXPECT_EQ(err.str(), "Depmill: can't open Makefile\n");
}

std::vector<std::pair<std::string, std::string>> load(
    const std::string& text, std::string* err = nullptr,
    common::CodePage cp = common::CodePage::Utf8) {
    MemoryFolder folder;
    folder.file("makefile", text);
    MacroTable table;
    std::ostringstream errors;
    std::size_t count = 0;
    const bool ended =
        endStatus([&] { count = table.readMacros("makefile", cp, folder, errors); }).has_value();
    if (err != nullptr) *err = errors.str();
    std::vector<std::pair<std::string, std::string>> found;
    if (ended) return found;
    for (const char* name : {"MODEL", "CC", "CFLAGS", "LIBS", "OBJS", "X", "Y", "PROGRAM"}) {
        if (auto value = table.lookupMacro(name)) found.emplace_back(name, std::string(*value));
    }
    EXPECT_EQ(table.size(), count);
    return found;
}

using Macros = std::vector<std::pair<std::string, std::string>>;

TEST(MacroTable, HeadBlockEndsAtTheFirstLineWithoutEquals) {
    EXPECT_EQ(load("# make makefile at: 98/12/5 5:13\n\nMODEL\t= l\nCC\t= cl \n\nPROGRAM = a.exe\n"
                   "all: $(PROGRAM)\n\nX = after the rule\n"),
              (Macros{{"MODEL", "l"}, {"CC", "cl "}, {"PROGRAM", "a.exe"}}));
    // A line of blanks is no empty line: it ends the block too.
    EXPECT_EQ(load("MODEL = s\n \t\nCC = cc\n"), (Macros{{"MODEL", "s"}}));
    EXPECT_EQ(load("MODEL = s\r\n\r\nCC = cc\r\n"), (Macros{{"MODEL", "s"}, {"CC", "cc"}}));
}

TEST(MacroTable, NamesValuesAndRepeatedDefinitions) {
    EXPECT_EQ(load("  OBJS += a.obj\nX=1=2\nY\t=\t\nCC = first\nCC = second\n = nameless\nMODEL =m "
                   "# not a "
                   "comment\n"),
              (Macros{{"MODEL", "m # not a comment"},
                      {"CC", "first"},
                      {"OBJS", "a.obj"},
                      {"X", "1=2"},
                      {"Y", ""}}));
    // Names compare with their case.
    EXPECT_EQ(load("cc = x\nCc = y\n"), Macros{});
}

TEST(MacroTable, ContinuationsJoinLogicalLines) {
    EXPECT_EQ(
        load("CFLAGS\t= /AL \\\n/W3\nLIBS = a \\\n# a comment\n\n  b.lib \\\n  c.lib\nX = 1\n"),
        (Macros{{"CFLAGS", "/AL /W3"}, {"LIBS", "a   b.lib   c.lib"}, {"X", "1"}}));
    // A continued line without "=" until its end still ends the block.
    EXPECT_EQ(load("X = 1\nall: \\\nmain.obj\nPROGRAM = p\n"), (Macros{{"X", "1"}}));
    // ... while one that gains an "=" from its continuation is a definition.
    EXPECT_EQ(load("X = 1\nall: \\\nY = 2\nPROGRAM = p\n"), (Macros{{"X", "1"}, {"PROGRAM", "p"}}));
    EXPECT_EQ(load("X = 1 \\"), (Macros{{"X", "1 "}}));
}

// Under Shift-JIS a line that ends in "表" (0x95 0x5C) or "ソ" (0x83 0x5C)
// ends there: the character stays whole and the next line is a definition
// of its own. A backslash after such a character still continues. make
// reads a final 0x5C as continuing the line and drops what follows a NUL,
// so such a value counts as no definition and is among the refused ones.
TEST(MacroTable, ShiftJisTrailByteContinuesNoLine) {
    MemoryFolder folder;
    const std::string hyo = "\x95\x5C";
    const std::string so = "\x83\x5C";
    folder.file("makefile", "PROGRAM = " + hyo + "\nCC = cl\nX = " + so + "\\\n" + so + "\nY = a" +
                                std::string(1, '\0') + "b\n");
    MacroTable table;
    std::ostringstream err;
    ASSERT_EQ(table.readMacros("makefile", common::CodePage::ShiftJis, folder, err), 4u);
    EXPECT_EQ(table.lookupMacro("CC"), "cl");
    for (const char* name : {"Y", "X", "PROGRAM", "X"}) EXPECT_FALSE(table.lookupMacro(name));
    EXPECT_EQ(table.refused(),
              (std::vector<common::MacroDefinition>{
                  {"PROGRAM", hyo}, {"X", so + so}, {"Y", std::string("a\0b", 3)}}));
    // The same bytes read as UTF-8 are no character: the 0x5C continues.
    EXPECT_EQ(load("PROGRAM = " + hyo + "\nCC = cl\n"),
              (Macros{{"PROGRAM", hyo.substr(0, 1) + "CC = cl"}}));
}

TEST(MacroTable, TwoHundredDefinitionsAtMost) {
    MemoryFolder folder;
    std::ostringstream errors;
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "M" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    folder.file("makefile", text + "all: x\n");
    MacroTable table;
    EXPECT_EQ(table.readMacros("makefile", common::CodePage::Utf8, folder, errors), 200u);
    EXPECT_EQ(table.lookupMacro("M199"), "199");

    folder.file("makefile", text + "M200 = 200\n");
    EXPECT_EQ(
        endStatus([&] { table.readMacros("makefile", common::CodePage::Utf8, folder, errors); }),
        2);
    EXPECT_EQ(errors.str(), "Depmill: macro table overflow\n");

    // Each load starts from an empty table.
    folder.file("makefile", "X = 1\n");
    EXPECT_EQ(table.readMacros("makefile", common::CodePage::Utf8, folder, errors), 1u);
    EXPECT_FALSE(table.lookupMacro("M0"));
}

TEST(MacroTable, MissingFileFails) {
    MemoryFolder folder;
    MacroTable table;
    std::ostringstream err;
    EXPECT_EQ(endStatus([&] { table.readMacros("makefile", common::CodePage::Utf8, folder, err); }),
              2);
    EXPECT_EQ(err.str(), "Depmill: can't open Makefile\n");
}

}  // namespace
