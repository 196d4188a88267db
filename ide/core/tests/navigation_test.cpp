// Reading the output window for the editor and help jumps.
#include "navigation.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

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

TEST(NavigationHelpKeyword, MessageNumberAfterWarningOrError) {
    const auto cp = common::CodePage::ShiftJis;
    const std::pair<std::string_view, const char*> found[] = {
        {"jumptest.c(20) : warning C4001: This is a test.", "C4001"},
        {"f.c(3): error C2065: 'x' : undeclared", "C2065"},
        {"f.c(12)   :   Warning   C4101 unused", "C4101"},
        {"f.c(1) : Error C40", "C40"},
        {"(7) : eh \x82\xa0\x82\xa0"
         "ABCD",
         "\x82\xa0\x82\xa0"
         "ABC"},
        // A linker line without "(" takes the number of the next message.
        {"LINK : error L2029: unresolved\nm.c(4) : warning C4101: y", "C4101"},
    };
    for (const auto& [text, keyword] : found) {
        EXPECT_EQ(FindHelpKeyword(text, cp), std::optional<std::string>(keyword)) << text;
    }
    for (auto none : {"f.c(3) : fatal error C1083: cannot open"sv, "no parenthesis at all"sv,
                      "f.c(3) : warning"sv, "f.c(3) : warning   "sv, "f.c(3"sv, ""sv,
                      "LINK : error L2029: unresolved"sv}) {
        EXPECT_FALSE(FindHelpKeyword(none, cp).has_value()) << none;
    }
}

}  // namespace
