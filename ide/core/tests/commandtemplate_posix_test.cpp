// Command lines built from a template and values: each value must come out
// of the real splitting (the Windows rules) or the real shell exactly as it
// went in, and the template must mean what it meant with a harmless word in
// the value's place.
#include "commandtemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commandline_posix.h"
#include "navigation.h"
#include "shelloutput.h"

namespace {

using common::CodePage;

constexpr char kMark = '@';               // where the value goes in a template
constexpr const char* kHarmless = "Qz9";  // a word no rule treats specially

std::string build(CommandSyntax syntax, const std::string& line, const std::string& value,
                  CodePage cp = CodePage::Utf8) {
    CommandLineBuilder builder(cp);
    std::size_t start = 0;
    for (std::size_t at; (at = line.find(kMark, start)) != std::string::npos; start = at + 1) {
        builder.appendTemplate(std::string_view(line).substr(start, at - start));
        builder.appendValue(value);
    }
    builder.appendTemplate(std::string_view(line).substr(start));
    EXPECT_EQ(builder.syntax(), syntax) << line;
    EXPECT_EQ(CommandSyntaxOf(builder.text()), syntax) << builder.text();
    return builder.text();
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

const std::vector<std::string> kHostileValues = {
    "plain",
    "two words",
    "quote\"inside",
    "\"",
    "\\",
    "ends\\",
    "\\\"",
    "a\\\\\"b\\",
    "C:\\my dir\\",
    "\t tab ",
    "$(echo INJECTED)",
    "`echo INJECTED`",
    "a;echo INJECTED",
    "it's",
    "'",
    "*",
    "~",
    "#x",
    "X=1",
    "a\nb",
    "$HOME",
    "\\$HOME",
    "\"\"",
    "-",
    "\x95\x5C\"",
    // Bytes that are no UTF-8 (Shift-JIS "ソ" and a cut lead byte).
    "dir\x83",
    "\x83\x5C",
};

TEST(CommandTemplateWindows, EveryValueIsOneLiteralPieceOfItsArgument) {
    const std::vector<std::string> templates = {
        "prog @",          "prog -o@.map",     "prog \"@\"",
        "prog \"x @ y\"",  "prog '@'",         "prog \\@",
        "prog \"\\@\"",    "prog @\\",         "prog \"@\\\"",
        "prog \"a\"@",     "prog \"a\"@\"b\"", "prog @\"b\"",
        "prog @@",         "prog \"@@\"",      "prog \"a\"\"@\"",
        "prog @ \"tail\"", "prog \\\\\"@\"",   "prog \"x\\\\\"@",
        "prog \\\"@",      "prog @\\\\\"c\"",  "\"C:\\Program Files\\x.exe\" \"@\" @",
        "prog \"@\"\"\"",
    };
    for (const auto& line : templates) {
        const auto meant =
            SplitCommandLine(build(CommandSyntax::Windows, line, kHarmless), CodePage::Utf8);
        for (const auto& value : kHostileValues) {
            std::vector<std::string> expected;
            for (const auto& arg : meant) expected.push_back(replaceAll(arg, kHarmless, value));
            const std::string built = build(CommandSyntax::Windows, line, value);
            EXPECT_EQ(SplitCommandLine(built, CodePage::Utf8), expected)
                << "template [" << line << "] value [" << value << "] line [" << built << "]";
        }
    }
}

TEST(CommandTemplateWindows, DoubleByteTrailBytesAreNoBackslashes) {
    // Shift-JIS 0x95 0x5C ends in the byte of "\": before a quote it must
    // not be doubled, nor taken for an escape.
    const std::string value = "\x95\x5C";
    for (const std::string line : {"prog @", "prog \"@\"", "prog @\"x\""}) {
        const std::string built = build(CommandSyntax::Windows, line, value, CodePage::ShiftJis);
        const auto meant =
            SplitCommandLine(build(CommandSyntax::Windows, line, kHarmless), CodePage::ShiftJis);
        EXPECT_EQ(SplitCommandLine(built, CodePage::ShiftJis).back(),
                  replaceAll(meant.back(), kHarmless, value))
            << line;
    }
}

TEST(CommandTemplateWindows, CutLeadByteNeverTakesTheTemplatesNextByte) {
    // "dir" and a Shift-JIS lead byte without its second byte, as a hostile
    // makefile may name its program: the byte after it is the template's.
    for (const std::string line :
         {"prog @x", "prog \"@\\\" tail\"", "prog @\\\\\"c d\"", "@\\x \"a b\""}) {
        const auto meant =
            SplitCommandLine(build(CommandSyntax::Windows, line, kHarmless), CodePage::ShiftJis);
        std::vector<std::string> expected;
        for (const auto& arg : meant) expected.push_back(replaceAll(arg, kHarmless, "dir?"));
        const std::string built =
            build(CommandSyntax::Windows, line, "dir\x83", CodePage::ShiftJis);
        EXPECT_EQ(SplitCommandLine(built, CodePage::ShiftJis), expected) << line;
    }
    // A whole double-byte character stays as it is.
    EXPECT_EQ(build(CommandSyntax::Windows, "prog @", "\x83\x5C", CodePage::ShiftJis),
              "prog \x83\x5C");
}

TEST(CommandTemplateWindows, ProgramNameKeepsItsBlanksAndLosesQuotes) {
    EXPECT_EQ(
        SplitCommandLine(build(CommandSyntax::Windows, "@ -x", "/my tools/ed"), CodePage::Utf8),
        (std::vector<std::string>{"/my tools/ed", "-x"}));
    EXPECT_EQ(SplitCommandLine(build(CommandSyntax::Windows, "@ -x", "a\" b"), CodePage::Utf8),
              (std::vector<std::string>{"a b", "-x"}));
}

TEST(CommandTemplateShell, EveryValueReachesTheProgramLiterally) {
    const std::string program = "cmd /c printf '[%s]\\n' ";
    const std::vector<std::string> templates = {
        "@",     "-o@.map", "\"@\"", "'@'",    "\"x @ y\"", "'x @ y'", "\\@",      "\"\\@\"",
        "@\\ z", "a'@'b",   "@@",    "'@''@'", "\"$0\"@",   "\"@\"@",  "x\\\"@\"",
    };
    for (const auto& line : templates) {
        const auto run = [&](const std::string& value) {
            const std::string built = build(CommandSyntax::Shell, program + line, value);
            return ShellOutput(*CommandInterpreterRest(built));
        };
        const std::string meant = run(kHarmless);
        for (const auto& value : kHostileValues) {
            EXPECT_EQ(run(value), replaceAll(meant, kHarmless, value))
                << "template [" << line << "] value [" << value << "]";
        }
    }
}

TEST(CommandTemplate, SyntaxFollowsTheCommandInterpreterPrefix) {
    EXPECT_EQ(CommandSyntaxOf("cmd /cmake"), CommandSyntax::Shell);
    EXPECT_EQ(CommandSyntaxOf("  CMD.EXE /C ls"), CommandSyntax::Shell);
    EXPECT_EQ(CommandSyntaxOf("cmdx /c ls"), CommandSyntax::Windows);
    EXPECT_EQ(CommandSyntaxOf("lint"), CommandSyntax::Windows);
    EXPECT_EQ(CommandSyntaxOf(""), CommandSyntax::Windows);

    // Plain values stay as they are; Always quotes even those.
    const auto plainThenAlways = [](CommandSyntax syntax, std::string_view head) {
        CommandLineBuilder builder(CodePage::Utf8);
        builder.appendTemplate(head);
        EXPECT_EQ(builder.syntax(), syntax);
        builder.appendValue("a.c");
        builder.appendTemplate(" ");
        builder.appendValue("a.c", ValueQuotes::Always);
        return builder.text();
    };
    EXPECT_EQ(plainThenAlways(CommandSyntax::Windows, "ed "), "ed a.c \"a.c\"");
    EXPECT_EQ(plainThenAlways(CommandSyntax::Shell, "cmd /c vi "), "cmd /c vi a.c 'a.c'");
}

// The editor's file name comes from a line of a child's output.
TEST(CommandTemplateEditor, FileNameFromTheOutputStaysOneLiteralArgument) {
    const auto windows =
        EditorCommandLine("hidemaru /j%n %s", "evil\" -x \"y.c(20) : error", CodePage::Utf8);
    ASSERT_TRUE(windows);
    EXPECT_EQ(SplitCommandLine(*windows, CodePage::Utf8),
              (std::vector<std::string>{"hidemaru", "/j20", "evil\" -x \"y.c"}));

    const auto shell =
        EditorCommandLine("cmd /c echo +%n %s", "`id`'x\";echo;$HOME.c(3): error", CodePage::Utf8);
    ASSERT_TRUE(shell);
    EXPECT_EQ(ShellOutput(*CommandInterpreterRest(*shell)), "+3 `id`'x\";echo;$HOME.c\n");
}

}  // namespace
