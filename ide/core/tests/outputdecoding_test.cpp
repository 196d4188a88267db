// Decoding the child's lines: Shift-JIS and UTF-8 bytes printed by a real
// child under each choice, into UTF-8 (this system) and into Shift-JIS (a
// Japanese Windows), with broken bytes replaced.
#include "outputdecoding.h"

#include <gtest/gtest.h>

#include "commandoutput.h"
#include "textconversion.h"

namespace {

using common::CodePage;
using namespace std::string_view_literals;

// "エラー" and "表.c" (whose second byte is 0x5C) in Shift-JIS and UTF-8.
constexpr auto kErrorSjis = "\x83\x47\x83\x89\x81\x5b"sv;
constexpr auto kErrorUtf8 = "エラー"sv;
constexpr auto kReplacement = "\uFFFD"sv;

std::string decode(std::string_view line, OutputEncoding encoding,
                   CodePage target = CodePage::Utf8) {
    static const std::unique_ptr<TextConversion> conversion = CreateSystemTextConversion();
    std::string converted;
    return std::string(DecodeOutputLine(line, encoding, target, *conversion, converted));
}

// One line that sh's printf writes from octal escapes.
std::string printed(const char* escapes) {
    return CommandOutput(std::string("printf '") + escapes + "'");
}

TEST(OutputDecoding, ValidUtf8) {
    for (auto valid : {""sv, "plain"sv, kErrorUtf8, "\xF0\x9F\x98\x80"sv, "\xEF\xBF\xBD"sv}) {
        EXPECT_TRUE(IsValidUtf8(valid)) << valid;
    }
    for (auto invalid : {kErrorSjis, "\xC0\xAF"sv, "\xED\xA0\x80"sv, "\xF4\x90\x80\x80"sv,
                         "\xE3\x82"sv, "\xE3\x82\x41"sv, "\x80"sv, "\xFF"sv}) {
        EXPECT_FALSE(IsValidUtf8(invalid)) << invalid;
    }
}

TEST(OutputDecoding, BytesOfARealChildUnderEachChoice) {
#ifdef _WIN32
    GTEST_SKIP() << "the child is a POSIX shell's printf";
#endif
    // A DOS compiler's message in Shift-JIS, with a path whose 表 ends in 0x5C.
    const std::string sjis =
        printed(R"(C:\\\225\\\\x.c(3) : error C2001: \203\107\203\211\201\133)");
    ASSERT_EQ(sjis, "C:\\\x95\x5C\\x.c(3) : error C2001: " + std::string(kErrorSjis));
    const std::string utf8 = printed(R"(x.c:3:1: error: \343\202\250\343\203\251\343\203\274)");
    ASSERT_EQ(utf8, "x.c:3:1: error: " + std::string(kErrorUtf8));
    const std::string sjisDecoded = "C:\\表\\x.c(3) : error C2001: エラー";

    EXPECT_EQ(decode(sjis, OutputEncoding::Automatic), sjisDecoded);
    EXPECT_EQ(decode(utf8, OutputEncoding::Automatic), utf8);
    EXPECT_EQ(decode(sjis, OutputEncoding::ShiftJis), sjisDecoded);
    EXPECT_EQ(decode(utf8, OutputEncoding::Utf8), utf8);

    // The wrong choice garbles the text but still gives valid text.
    const std::string asUtf8 = decode(sjis, OutputEncoding::Utf8);
    EXPECT_TRUE(IsValidUtf8(asUtf8));
    EXPECT_NE(asUtf8.find(kReplacement), std::string::npos);
    EXPECT_TRUE(asUtf8.starts_with("C:\\"));
    const std::string asSjis = decode(utf8, OutputEncoding::ShiftJis);
    EXPECT_TRUE(IsValidUtf8(asSjis));
    EXPECT_TRUE(asSjis.starts_with("x.c:3:1: error: "));
    EXPECT_EQ(asSjis.find(kErrorUtf8), std::string::npos);
}

TEST(OutputDecoding, HalfWidthKatakanaAndBrokenShiftJis) {
    // ﾃﾞｰﾀ, one byte each.
    EXPECT_EQ(decode("\xC3\xDE\xB0\xC0", OutputEncoding::Automatic), "ﾃﾞｰﾀ");
    // A lead byte cut off by the end of the line, and one before a byte that
    // cannot follow it: the byte after it survives.
    EXPECT_EQ(decode("abc\x83", OutputEncoding::ShiftJis), "abc" + std::string(kReplacement));
    EXPECT_EQ(decode("\x83\x0A"
                     "z",
                     OutputEncoding::ShiftJis),
              std::string(kReplacement) + "\nz");
    for (auto junk : {"\x85\x40\xFF\xFD\x80\xA0"sv, "\x81"sv, "\xEF\xBF"sv}) {
        for (auto choice :
             {OutputEncoding::Automatic, OutputEncoding::Utf8, OutputEncoding::ShiftJis}) {
            EXPECT_TRUE(IsValidUtf8(decode(junk, choice))) << junk;
        }
    }
}

TEST(OutputDecoding, IntoShiftJis) {
    EXPECT_EQ(decode(kErrorUtf8, OutputEncoding::Automatic, CodePage::ShiftJis), kErrorSjis);
    EXPECT_EQ(decode(kErrorSjis, OutputEncoding::Automatic, CodePage::ShiftJis), kErrorSjis);
    EXPECT_EQ(decode("C:\\\x95\x5C", OutputEncoding::ShiftJis, CodePage::ShiftJis), "C:\\\x95\x5C");
    // A character Shift-JIS lacks, and UTF-8 that is broken.
    EXPECT_EQ(decode("a\xF0\x9F\x98\x80z", OutputEncoding::Utf8, CodePage::ShiftJis), "a?z");
    EXPECT_EQ(decode("a\xE3\x82z", OutputEncoding::Utf8, CodePage::ShiftJis), "a?z");
}

TEST(OutputDecoding, AsciiAndTheStoredChoice) {
    for (auto choice :
         {OutputEncoding::Automatic, OutputEncoding::Utf8, OutputEncoding::ShiftJis}) {
        EXPECT_EQ(decode("make: *** [all] Error 1 ~\\", choice), "make: *** [all] Error 1 ~\\");
        EXPECT_EQ(decode("", choice, CodePage::ShiftJis), "");
    }
    EXPECT_EQ(ToOutputEncoding(2), OutputEncoding::ShiftJis);
    EXPECT_EQ(ToOutputEncoding(3), OutputEncoding::Automatic);
    EXPECT_EQ(ToOutputEncoding(-1), OutputEncoding::Automatic);
}

}  // namespace
