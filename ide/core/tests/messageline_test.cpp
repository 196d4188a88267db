// Compiler message lines: the table of each compiler's real lines, lines
// that are no messages, the lines of real compilers on a broken file, and
// the search for the next and previous message.
#include "messageline.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "commandoutput.h"
#include "tempfolder.h"

namespace {

using namespace std::string_view_literals;

struct Expected {
    std::string_view line;
    const char* file;
    unsigned long lineNumber;
    unsigned long column;
};

void expectJump(const std::optional<EditorJump>& jump, const Expected& e) {
    ASSERT_TRUE(jump.has_value()) << e.line;
    EXPECT_EQ(jump->fileName, e.file) << e.line;
    EXPECT_EQ(jump->lineNumber, e.lineNumber) << e.line;
    EXPECT_EQ(jump->column, e.column) << e.line;
}

TEST(MessageLine, EachCompilersForm) {
    const Expected messages[] = {
        // The compilers' own form, with and without the blank before ":".
        {"jumptest.c(20) : warning C4001: This is editor/error jump test message.", "jumptest.c",
         20, 0},
        {"hello.c(3) : fatal error C1083: Cannot open include file: 'x.h': No such file", "hello.c",
         3, 0},
        {"my file.c(7): error C2065: 'y' : undeclared identifier", "my file.c", 7, 0},
        // Open Watcom.
        {"hello.c(12): Error! E1009: Expecting ';' but found '}'", "hello.c", 12, 0},
        {"hello.c(7): Warning! W202: Symbol 'x' has been defined, but not referenced", "hello.c", 7,
         0},
        {"hello.c(9): Note! N2002: 'f' defined in: hello.c(2)", "hello.c", 9, 0},
        // GCC, with its typographic quotes, and Clang.
        {"bad.c:3:11: error: expected expression before \u2018;\u2019 token", "bad.c", 3, 11},
        {"bad.c:4:10: note: each undeclared identifier is reported only once", "bad.c", 4, 10},
        {"main.c:1:10: fatal error: missing.h: No such file or directory", "main.c", 1, 10},
        {"f.c:9:5: error: expected \u2018;\u2019 before \u2018(\u2019 token", "f.c", 9, 5},
        {"bad.c:4:10: error: use of undeclared identifier 'y'", "bad.c", 4, 10},
        {"src/x.c:12:5: warning: unused variable 'x' [-Wunused-variable]", "src/x.c", 12, 5},
        {"C:\\src\\my file.c:12:5: warning: unused variable 'x'", "C:\\src\\my file.c", 12, 5},
        // Without a column: the preprocessor, the assembler.
        {"w3.c:2: warning: #warning look here", "w3.c", 2, 0},
        {"x.s:3: Error: no such instruction: `foo'", "x.s", 3, 0},
        // Bruce's C compiler: a dot before the column.
        {"bad.c:3.11: error: bad expression", "bad.c", 3, 11},
        {"sub/w.c:4.1: error: need ';'", "sub/w.c", 4, 1},
    };
    for (const auto& m : messages) {
        expectJump(ParseMessageLine(m.line), m);
        expectJump(ParseEditorJump(m.line), m);  // the editor jump reads the same place
    }
}

TEST(MessageLine, CommandsMakeLinesAndSummariesAreNoMessages) {
    for (auto line : {""sv,
                      "gcc -c -O2 bad.c -o bad.o"sv,
                      "cl /c /DX=f(1) hello.c"sv,
                      "make: *** [Makefile:2: all] Error 1"sv,
                      "Makefile:3: *** missing separator.  Stop."sv,
                      "make[1]: Entering directory '/tmp/p/sub'"sv,
                      "End Build."sv,
                      "Build Error (2)."sv,
                      "bad.c: In function \u2018main\u2019:"sv,
                      "In file included from main.c:1:"sv,
                      "    3 |   int x = ;"sv,
                      "2 errors generated."sv,
                      "LINK : fatal error L1093: object not found"sv,
                      "foo.c(0) : error C2001: newline in constant"sv,
                      "foo.c:0: error: x"sv,
                      "(12) : error C2065: x"sv,
                      ":12:1: error: x"sv,
                      "f.c:12:1: remark: x"sv,
                      "f.c(12) : errors found"sv,
                      "f.c:12: warnings: 3"sv}) {
        EXPECT_FALSE(ParseMessageLine(line).has_value()) << line;
    }
}

TEST(MessageLine, TheCompilersReadingStaysForEveryOtherText) {
    // A "(" before a colon head leaves the line to the first "(".
    expectJump(ParseEditorJump("a(1)b.c:3:1: error: x"), {"", "a", 1, 0});
    expectJump(ParseEditorJump("f.c(5) : error C2143: see g.c:3:1: note: y"), {"", "f.c", 5, 0});
    // No colon head: the first "(" or blank, as always.
    expectJump(ParseEditorJump("make: *** [all] Error 2"), {"", "make:", 0, 0});
    expectJump(ParseEditorJump("Makefile:3: *** missing separator."), {"", "Makefile:3:", 0, 0});
    expectJump(ParseEditorJump("LINK : error L2029: x"), {"", "LINK", 0, 0});
    expectJump(ParseEditorJump("f.c:99999999999999999999999: error: x"),
               {"", "f.c", std::numeric_limits<unsigned long>::max(), 0});
    expectJump(ParseEditorJump(":3:1: error: x"), {"", ":3:1:", 0, 0});
}

// Writes a C file with a missing expression and an undeclared name on
// lines 3 and 4.
std::string writeBrokenSource(const TempFolder& folder) {
    std::ofstream(folder.path() / "bad.c") << "int main()\n{\n  int x = ;\n  return y;\n}\n";
    return folder.path().string();
}

// Every line of a real compiler's complaint about bad.c that names a place
// is a message on line 3 or 4 with a column; every other line is none.
void expectMessagesOfBrokenSource(const std::vector<std::string>& lines) {
    int messages = 0;
    for (const auto& line : lines) {
        const auto jump = ParseMessageLine(line);
        const bool isMessage =
            line.starts_with("bad.c:") && (line.find(": error: ") != std::string::npos ||
                                           line.find(": note: ") != std::string::npos);
        EXPECT_EQ(jump.has_value(), isMessage) << line;
        if (!jump) continue;
        ++messages;
        EXPECT_EQ(jump->fileName, "bad.c");
        EXPECT_TRUE(jump->lineNumber == 3 || jump->lineNumber == 4) << line;
        EXPECT_GT(jump->column, 0u) << line;
    }
    EXPECT_GE(messages, 2);
}

TEST(MessageLine, LinesOfBrucesCCompiler) {
    if (CommandOutput("command -v bcc").empty()) GTEST_SKIP() << "bcc is not installed";
    TempFolder folder;
    const auto lines =
        CommandOutputLines("cd '" + writeBrokenSource(folder) + "' && bcc -c bad.c 2>&1");
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find(":3."), std::string::npos) << lines.front();  // line.column
    expectMessagesOfBrokenSource(lines);
}

TEST(MessageLine, LinesOfGcc) {
#ifdef _WIN32
    GTEST_SKIP() << "runs gcc through a POSIX shell";
#endif
    TempFolder folder;
    const auto lines = CommandOutputLines("cd '" + writeBrokenSource(folder) +
                                          "' && LC_ALL=C.UTF-8 gcc -fdiagnostics-color=never -c "
                                          "bad.c 2>&1");
    expectMessagesOfBrokenSource(lines);
}

TEST(MessageLine, NextAndPreviousMessage) {
    const std::vector<std::string> lines = {
        "Start Build.",                                   // 0
        "gcc -c bad.c",                                   // 1
        "bad.c:3:11: error: expected expression",         // 2
        "    3 |   int x = ;",                            // 3
        "bad.c:4:10: note: each undeclared identifier",   // 4
        "make: *** [Makefile:2: bad.o] Error 1",          // 5
        "hello.c(12): Warning! W202: Symbol 'x' unused",  // 6
        "Build Error (2).",                               // 7
    };
    const LineAt at = [&](std::size_t i) { return lines.at(i); };
    const auto find = [&](std::optional<std::size_t> current, SearchDirection direction) {
        return FindMessageLine(lines.size(), at, current, direction);
    };
    using enum SearchDirection;
    EXPECT_EQ(find(std::nullopt, Next), 2u);  // from the top
    EXPECT_EQ(find(0, Next), 2u);
    EXPECT_EQ(find(2, Next), 4u);
    EXPECT_EQ(find(3, Next), 4u);
    EXPECT_EQ(find(4, Next), 6u);
    EXPECT_EQ(find(6, Next), std::nullopt);  // the last message
    EXPECT_EQ(find(7, Next), std::nullopt);
    EXPECT_EQ(find(7, Previous), 6u);
    EXPECT_EQ(find(6, Previous), 4u);
    EXPECT_EQ(find(4, Previous), 2u);
    EXPECT_EQ(find(2, Previous), std::nullopt);  // the first message
    EXPECT_EQ(find(std::nullopt, Previous), std::nullopt);
    EXPECT_EQ(find(99, Previous), 6u);  // a current line past the end counts from the end
    EXPECT_EQ(FindMessageLine(0, at, std::nullopt, Next), std::nullopt);
}

}  // namespace
