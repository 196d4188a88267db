#include "codepage.h"

#include <gtest/gtest.h>

using common::CodePage;

namespace {
// "表" in Shift-JIS is 0x95 0x5C: its trail byte is the backslash code.
const std::string kHyo = "\x95\x5C";
// "ソ" in Shift-JIS is 0x83 0x5C.
const std::string kSo = "\x83\x5C";
}  // namespace

TEST(CodePage, LeadBytes) {
    EXPECT_TRUE(common::isLeadByte(CodePage::ShiftJis, 0x81));
    EXPECT_TRUE(common::isLeadByte(CodePage::ShiftJis, 0x9F));
    EXPECT_TRUE(common::isLeadByte(CodePage::ShiftJis, 0xE0));
    EXPECT_TRUE(common::isLeadByte(CodePage::ShiftJis, 0xFC));
    EXPECT_FALSE(common::isLeadByte(CodePage::ShiftJis, 0xA0));  // half-width katakana
    EXPECT_FALSE(common::isLeadByte(CodePage::ShiftJis, 'A'));
    EXPECT_TRUE(common::isLeadByte(CodePage::Utf8, 0xE3));
    EXPECT_FALSE(common::isLeadByte(CodePage::Utf8, 0x81));  // continuation byte
}

TEST(CodePage, LowerCasingLeavesDoubleByteCharactersWhole) {
    // 0x82 0x60 is full-width "Ａ"; its trail byte 0x60 is no letter, but
    // 0x83 0x41 ("ア") has the trail byte "A", which must not become "a".
    EXPECT_EQ(common::toLowerAscii("MAIN.C", CodePage::ShiftJis), "main.c");
    EXPECT_EQ(common::toLowerAscii("X\x83\x41Y.C", CodePage::ShiftJis), "x\x83\x41y.c");
    EXPECT_EQ(common::toLowerAscii("X\x83\x41Y.C", CodePage::Utf8), "x\x83\x61y.c");
    EXPECT_EQ(common::toLowerAscii("\xE3\x83\x86ST.C", CodePage::Utf8), "\xE3\x83\x86st.c");
    // A lead byte at the very end stays and ends the text.
    EXPECT_EQ(common::toLowerAscii("AB\x83", CodePage::ShiftJis), "ab\x83");
}

TEST(CodePage, EqualsIgnoreCase) {
    EXPECT_TRUE(common::equalsIgnoreCase("Prog", "PROG", CodePage::ShiftJis));
    EXPECT_FALSE(common::equalsIgnoreCase("\x83\x41", "\x83\x61", CodePage::ShiftJis));
    EXPECT_FALSE(common::equalsIgnoreCase("ab", "abc", CodePage::Utf8));
}

TEST(CodePage, FolderPartKeepsRootsAndDropsFinalSeparator) {
    const auto cp = CodePage::ShiftJis;
    EXPECT_EQ(common::folderPart("c:\\proj\\makefile", cp), "c:\\proj");
    EXPECT_EQ(common::folderPart("c:\\makefile", cp), "c:\\");
    EXPECT_EQ(common::folderPart("c:makefile", cp), "c:");
    EXPECT_EQ(common::folderPart("\\makefile", cp), "\\");
    EXPECT_EQ(common::folderPart("\\\\server\\share\\makefile", cp), "\\\\server\\share");
    EXPECT_EQ(common::folderPart("makefile", cp), "");
    EXPECT_EQ(common::folderPart("/home/user/proj/makefile", cp), "/home/user/proj");
    EXPECT_EQ(common::folderPart("/makefile", cp), "/");
}

TEST(CodePage, TrailByteBackslashIsNoSeparator) {
    const std::string dir = "c:\\" + kHyo;  // c:\表
    EXPECT_EQ(common::folderPart(dir + "\\makefile", CodePage::ShiftJis), dir);
    EXPECT_EQ(common::fileNamePart(dir + "\\makefile", CodePage::ShiftJis), "makefile");
    // The file name itself ends in a trail byte 0x5C: still no separator.
    EXPECT_EQ(common::folderPart("c:\\p\\" + kSo, CodePage::ShiftJis), "c:\\p");
    EXPECT_EQ(common::fileNamePart("c:\\p\\" + kSo, CodePage::ShiftJis), kSo);
    // A separator right after a double-byte character whose trail byte is 0x5C
    // does not follow "another backslash": it is dropped as usual.
    EXPECT_EQ(common::folderPart("c:\\" + kSo + "\\x", CodePage::ShiftJis), "c:\\" + kSo);
    // Read as UTF-8 the same bytes hold a real backslash.
    EXPECT_EQ(common::fileNamePart("a\\" + kSo, CodePage::Utf8), "");
}

TEST(CodePage, LeadByteWithoutItsTrailByteStandsAlone) {
    // Shift-JIS second bytes are 0x40 to 0xFC (but 0x7F): "/", ":", a quote
    // or a blank after a lead byte keep their meaning.
    const std::string folder = "/w/sdfo\\\x83";
    EXPECT_EQ(common::charLength(CodePage::ShiftJis, folder + "/", folder.size() - 1), 1u);
    EXPECT_EQ(common::charLength(CodePage::ShiftJis, "\x83\"", 0), 1u);
    EXPECT_EQ(common::charLength(CodePage::ShiftJis, "\x83\xFD", 0), 1u);
    EXPECT_EQ(common::charLength(CodePage::ShiftJis, kSo, 0), 2u);
    EXPECT_EQ(common::fileNamePart(folder + "/makefile", CodePage::ShiftJis), "makefile");
    EXPECT_EQ(common::folderPart(folder + "/makefile", CodePage::ShiftJis), folder);
    EXPECT_EQ(common::fileNamePart("c:\\\x83:x", CodePage::ShiftJis), "x");
}

TEST(CodePage, FileNamePart) {
    EXPECT_EQ(common::fileNamePart("c:\\proj\\prog.exe", CodePage::Utf8), "prog.exe");
    EXPECT_EQ(common::fileNamePart("c:prog.exe", CodePage::Utf8), "prog.exe");
    EXPECT_EQ(common::fileNamePart("prog.exe", CodePage::Utf8), "prog.exe");
    EXPECT_EQ(common::fileNamePart("dir/", CodePage::Utf8), "");
}

#ifndef _WIN32
TEST(CodePage, NativePathTurnsOnlyRealBackslashes) {
    EXPECT_EQ(common::nativePath("..\\header\\defs.h", CodePage::Utf8), "../header/defs.h");
    EXPECT_EQ(common::nativePath("sub\\" + kHyo + "\\x.h", CodePage::ShiftJis), "sub/" + kHyo + "/x.h");
}
#endif
