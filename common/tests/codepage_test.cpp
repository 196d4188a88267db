#include "codepage.h"

#include <gtest/gtest.h>

using common::CodePage;

namespace {
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

TEST(CodePage, LeadByteWithoutItsTrailByteStandsAlone) {
    // Shift-JIS second bytes are 0x40 to 0xFC (but 0x7F): "/", ":", a quote
    // or a blank after a lead byte keep their meaning.
    const std::string folder = "/w/sdfo\\\x83";
    EXPECT_EQ(common::charLength(CodePage::ShiftJis, folder + "/", folder.size() - 1), 1u);
    EXPECT_EQ(common::charLength(CodePage::ShiftJis, "\x83\"", 0), 1u);
    EXPECT_EQ(common::charLength(CodePage::ShiftJis, "\x83\xFD", 0), 1u);
    EXPECT_EQ(common::charLength(CodePage::ShiftJis, kSo, 0), 2u);
}
