// Reading the output window for the editor and help jumps.
#include "navigation.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using namespace std::string_view_literals;

void expectLine(std::optional<LineSelection> selection, std::size_t start, std::size_t length) {
    ASSERT_TRUE(selection.has_value());
    EXPECT_EQ(selection->start, start);
    EXPECT_EQ(selection->length, length);
}

TEST(NavigationSelectLine, TheWholeLineUnderTheCaret) {
    const auto text = "first\nsecond line\n\nlast"sv;
    expectLine(SelectCurrentLine(text, 0), 0, 5);
    expectLine(SelectCurrentLine(text, 3), 0, 5);
    expectLine(SelectCurrentLine(text, 5), 0, 5);    // at the line break
    expectLine(SelectCurrentLine(text, 6), 6, 11);   // before the first character
    expectLine(SelectCurrentLine(text, 17), 6, 11);  // after the last one
    expectLine(SelectCurrentLine(text, 18), 18, 0);  // an empty line
    expectLine(SelectCurrentLine(text, 19), 19, 4);
    expectLine(SelectCurrentLine(text, text.size()), 19, 4);
    expectLine(SelectCurrentLine(text, 999), 19, 4);
    EXPECT_FALSE(SelectCurrentLine(""sv, 0).has_value());

    // Carriage returns end lines too, and the window's UTF-16 text works alike.
    expectLine(SelectCurrentLine("a\r\nbc\r\n"sv, 4), 3, 2);
    expectLine(SelectCurrentLine(u"ab\r\n\u30a8\u30e9\u30fc(1)"sv, 5), 4, 6);
    expectLine(SelectCurrentLine("\n"sv, 1), 1, 0);
}

TEST(NavigationEditorJump, FileAndLineOfAMessage) {
    const auto jump = ParseEditorJump("jumptest.c(20) : warning C4001: This is a test.");
    ASSERT_TRUE(jump.has_value());
    EXPECT_EQ(jump->fileName, "jumptest.c");
    EXPECT_EQ(jump->lineNumber, 20u);

    struct Case {
        std::string_view text;
        const char* file;
        unsigned long line;
    };
    const Case cases[] = {
        {"make: *** [all] Error 2", "make:", 0},   // no parenthesis: up to the blank
        {"foo.c(abc) : error", "foo.c", 0},        // no digits
        {"my file.c(3) : error", "my file.c", 3},  // "(" comes first
        {"a(b).c(7)", "a", 0},                     // cut at the first "("
        {"C:\\my dir\\makefile", "C:\\my", 0},     // cut at the blank
        {"prog 12 left", "prog", 12},              // digits after the blank count
        {"C:\\WORK\\HELLO\\MAKEFILE", "C:\\WORK\\HELLO\\MAKEFILE", 0},
        {"f(99999999999999999999999999)", "f", std::numeric_limits<unsigned long>::max()},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseEditorJump(c.text);
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(parsed->fileName, c.file);
        EXPECT_EQ(parsed->lineNumber, c.line) << c.text;
    }
    for (auto noFile : {""sv, "(12) : error"sv, " leading blank"sv}) {
        EXPECT_FALSE(ParseEditorJump(noFile).has_value()) << noFile;
    }
}

TEST(NavigationEditorJump, TemplatePlaceholders) {
    const EditorJump jump{"jumptest.c", 20};
    const auto cp = common::CodePage::ShiftJis;
    EXPECT_EQ(FillEditCommand("hidemaru /j%n %s", jump, cp), "hidemaru /j20 \"jumptest.c\"");
    EXPECT_EQ(FillEditCommand("hidemaru /j%n %s", {"make:", 0}, cp), "hidemaru /j1 \"make:\"");
    EXPECT_EQ(FillEditCommand("ed +%n:%n", jump, cp), "ed +20:20");
    // The column, 1 when the line gives none.
    EXPECT_EQ(FillEditCommand("ed %s:%n:%c", {"f.c", 3, 11}, cp), "ed \"f.c\":3:11");
    EXPECT_EQ(FillEditCommand("ed +%n:%c", jump, cp), "ed +20:1");
    EXPECT_EQ(EditorCommandLine("ed -g %s:%n:%c", "bad.c:3.11: error: bad expression"),
              "ed -g \"bad.c\":3:11");
    EXPECT_EQ(FillEditCommand("ed %% %x %N 100%", jump, cp), "ed    100");
    // "%" before a double-byte character drops the whole character.
    EXPECT_EQ(FillEditCommand("a%\x95\x5Cz", jump, cp), "az");
    EXPECT_EQ(FillEditCommand("\x95\x5C%n", jump, cp),
              "\x95\x5C"
              "20");

    EXPECT_EQ(EditorCommandLine("hidemaru /j%n %s",
                                "jumptest.c(20) : warning C4001: This is editor/error jump test "
                                "message."),
              "hidemaru /j20 \"jumptest.c\"");
    EXPECT_FALSE(EditorCommandLine("hidemaru /j%n %s", "(x)").has_value());
}

TEST(NavigationEditorJump, TheProjectMakefileOpensWhole) {
    EXPECT_EQ(ProjectEditCommandLine("hidemaru /j%n %s", "C:\\WORK\\HELLO\\MAKEFILE"),
              "hidemaru /j1 \"C:\\WORK\\HELLO\\MAKEFILE\"");
    EXPECT_EQ(ProjectEditCommandLine("vi +%n %s", "/home/u/my work (2)/makefile"),
              "vi +1 \"/home/u/my work (2)/makefile\"");
    EXPECT_FALSE(ProjectEditCommandLine("vi %s", "").has_value());
}

// The help keyword is the number the reading took, from the selected line
// on: any compiler's number, also of a fatal error or a linker's message.
TEST(NavigationHelpKeyword, TheMessageNumberOfTheReading) {
    const std::vector<std::string> lines = {
        "jumptest.c(20) : warning C4001: This is a test.",      // 0
        "f.c(3): error C2065: 'x' : undeclared",                // 1
        "make: *** [all] Error 2",                              // 2
        "f.c(3) : fatal error C1083: cannot open",              // 3
        "Error E2451 hello.c 12: Undefined symbol 'x'",         // 4
        "hello.c:3:1: error: no number here",                   // 5
        "LINK : error L2029: unresolved",                       // 6
        "f.c(12)   :   Warning   C4101 unused",                 // 7: no form reads this
        "(7) : eh ABCD",                                        // 8
        "hello.c(9): Note! N2002: 'f' defined in: hello.c(2)",  // 9
    };
    std::vector<std::optional<MessageReading>> readings;
    for (const auto& line : lines) readings.push_back(BuiltInMessageReader().read(line));
    const ReadingAt at = [&](std::size_t i) { return readings.at(i) ? &*readings.at(i) : nullptr; };
    const auto keyword = [&](std::size_t from) { return FindHelpKeyword(lines.size(), at, from); };
    EXPECT_EQ(keyword(0), "C4001");
    EXPECT_EQ(keyword(1), "C2065");
    EXPECT_EQ(keyword(2), "C1083");  // make's line has none: the next message's
    EXPECT_EQ(keyword(3), "C1083");
    EXPECT_EQ(keyword(4), "E2451");
    EXPECT_EQ(keyword(5), "L2029");
    EXPECT_EQ(keyword(7), "N2002");
    EXPECT_EQ(keyword(10), std::nullopt);
    EXPECT_EQ(FindHelpKeyword(9, at, 7), std::nullopt);  // nothing below but lines without one
}

}  // namespace
