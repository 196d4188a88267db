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

struct Reading {
    std::string_view line;
    const char* file;
    unsigned long lineNumber;
    unsigned long column;
    LineKind kind;
    const char* number;
};

// Real lines of each family, and what the one reading takes from them.
TEST(MessageLine, EveryFamilyIsReadByTheTable) {
    using enum LineKind;
    const Reading readings[] = {
        // The compilers' own form: a column, a build pane's prefix, no number.
        {"hello.c(12) : error C2065: 'x' : undeclared identifier", "hello.c", 12, 0, Error,
         "C2065"},
        {"hello.c(12,5): warning C4101: 'y' : unreferenced local variable", "hello.c", 12, 5,
         Warning, "C4101"},
        {"3>C:\\proj\\hello.c(7) : error C2143: syntax error", "C:\\proj\\hello.c", 7, 0, Error,
         "C2143"},
        {"hello.c(4) : see declaration of 'x'", "hello.c", 4, 0, Note, ""},
        {"hello.c(3) : fatal error C1083: Cannot open include file", "hello.c", 3, 0, Error,
         "C1083"},
        // Open Watcom.
        {"hello.c(12): Error! E1009: Expecting ';' but found '}'", "hello.c", 12, 0, Error,
         "E1009"},
        {"hello.c(5): Warning! W201: Unreachable code", "hello.c", 5, 0, Warning, "W201"},
        {"hello.c(9): Note! N2002: 'f' defined in: hello.c(2)", "hello.c", 9, 0, Note, "N2002"},
        {"hello.cpp(1): Error! E029: col(21) symbol 'y' has not been declared", "hello.cpp", 1, 21,
         Error, "E029"},
        {"makefile(9): Warning(W79): Makefile may be Microsoft; try /ms switch", "makefile", 9, 0,
         Warning, "W79"},
        {"file MAIN.OBJ(C:\\HELLO\\MAIN.C): undefined symbol g_", "C:\\HELLO\\MAIN.C", 0, 0, Note,
         ""},
        {"Error(E42): Last command making (main.obj) returned a bad status", "", 0, 0, Error,
         "E42"},
        {"Error! Cannot find file 'missing.obj'", "", 0, 0, Error, ""},
        {"DOS/32A warning (9003): real mode interrupt vector has been modified: INT 22h", "", 0, 0,
         Note, "9003"},
        // Turbo C and Borland C++.
        {"Error hello.c 12: Undefined symbol 'x' in function main", "hello.c", 12, 0, Error, ""},
        {"Warning hello.c 8: 'y' is declared but never used in function main", "hello.c", 8, 0,
         Warning, ""},
        {"Error E2451 hello.c 12: Undefined symbol 'x' in function main", "hello.c", 12, 0, Error,
         "E2451"},
        {"Warning W8004 HELLO.C 9: 'i' is assigned a value that is never used", "HELLO.C", 9, 0,
         Warning, "W8004"},
        {"Fatal hello.c 2: Unable to open include file 'X.H'", "hello.c", 2, 0, Error, ""},
        // Turbo Assembler.
        {"**Error** hello.asm(12) Illegal instruction", "hello.asm", 12, 0, Error, ""},
        {"*Warning* hello.asm(3) Argument needs type override", "hello.asm", 3, 0, Warning, ""},
        {"**Fatal** hello.asm(30) Unexpected end of file encountered", "hello.asm", 30, 0, Error,
         ""},
        // MASM.
        {"hello.asm(12) : error A2008: syntax error : mov", "hello.asm", 12, 0, Error, "A2008"},
        {"hello.asm(4): warning A4001: extra characters on line", "hello.asm", 4, 0, Warning,
         "A4001"},
        // GCC, Clang, bcc, ia16-gcc, NASM.
        {"hello.c:12:5: error: 'x' undeclared (first use in this function)", "hello.c", 12, 5,
         Error, ""},
        {"hello.c:1:10: fatal error: x.h: No such file or directory", "hello.c", 1, 10, Error, ""},
        {"hello.c:4:10: note: each undeclared identifier is reported only once", "hello.c", 4, 10,
         Note, ""},
        {"hello.c:3.11: error: bad expression", "hello.c", 3, 11, Error, ""},
        {"hello.asm:3: error: parser: instruction expected", "hello.asm", 3, 0, Error, ""},
        {"hello.asm:7: warning: label alone on a line without a colon", "hello.asm", 7, 0, Warning,
         ""},
        {"In file included from main.c:1:", "main.c", 1, 0, Note, ""},
        {"In file included from inc/a.h:2,", "inc/a.h", 2, 0, Note, ""},
        {"                 from main.c:3:", "main.c", 3, 0, Note, ""},
        {"hello.c:3:1: ERROR: in capitals", "hello.c", 3, 1, Error, ""},
        // Linkers and programs that name no file.
        {"LINK : fatal error L1104: HELLO.OBJ : not valid object", "", 0, 0, Error, "L1104"},
        {"LINK : warning L4021: no stack segment", "", 0, 0, Warning, "L4021"},
        {"Error! E2028: foo_ is an undefined reference", "", 0, 0, Error, "E2028"},
        {"hello.c:(.text+0x9): undefined reference to `foo'", "", 0, 0, Error, ""},
        {"collect2: error: ld returned 1 exit status", "", 0, 0, Error, ""},
        {"undefined symbol: _foo", "", 0, 0, Error, ""},
    };
    for (const auto& r : readings) {
        const auto message = BuiltInMessageReader(common::CodePage::Utf8).read(r.line);
        ASSERT_TRUE(message.has_value()) << r.line;
        EXPECT_EQ(message->file, r.file) << r.line;
        EXPECT_EQ(message->line, r.lineNumber) << r.line;
        EXPECT_EQ(message->column, r.column) << r.line;
        EXPECT_EQ(message->kind, r.kind) << r.line;
        EXPECT_EQ(message->number, r.number) << r.line;
        EXPECT_EQ(LeadsToFile(*message), r.file[0] != '\0') << r.line;
    }
}

// The Japanese kind words, in either code page.
TEST(MessageLine, JapaneseKindWords) {
    const auto sjis = BuiltInMessageReader(common::CodePage::ShiftJis)
                          .read("hello.c(3) : \x83\x47\x83\x89\x81\x5b C2065: x");
    ASSERT_TRUE(sjis.has_value());
    EXPECT_EQ(sjis->kind, LineKind::Error);
    EXPECT_EQ(sjis->number, "C2065");
    const auto utf8 =
        BuiltInMessageReader(common::CodePage::Utf8).read("hello.c:3:1: \u8b66\u544a: unused");
    ASSERT_TRUE(utf8.has_value());
    EXPECT_EQ(utf8->kind, LineKind::Warning);
}

// The user's forms come first; an unreadable one is left out with its reason.
TEST(MessageLine, UserFormsComeFirst) {
    std::vector<std::string> unreadable;
    const MessageReader reader(
        common::CodePage::Utf8,
        {{"lcc", "%f %l: %t: %m"}, {"broken", "%f(%q)"}, {"own", "%f(%l) : %t %n: %m [%*]"}},
        &unreadable);
    ASSERT_EQ(unreadable.size(), 1u);
    EXPECT_TRUE(unreadable[0].starts_with("broken: ")) << unreadable[0];
    const auto lcc = reader.read("hello.c 12: warning: unused x");
    ASSERT_TRUE(lcc.has_value());
    EXPECT_EQ(lcc->file, "hello.c");
    EXPECT_EQ(lcc->line, 12u);
    EXPECT_EQ(lcc->kind, LineKind::Warning);
    // The user's form wins over the built-in one that would also read it.
    const auto own = reader.read("a(1) : error C1: x [b(2) : error C2: y]");
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(own->number, "C1");
    // Without it, the line is only a program's message that leads nowhere.
    EXPECT_FALSE(ParseMessageLine("hello.c 12: warning: unused x",
                                  BuiltInMessageReader(common::CodePage::Utf8))
                     .has_value());
}

// Whatever a child prints, it is read as a child's line: the IDE's own
// texts are plain there, and only make's lines move the folder.
TEST(MessageLine, AChildsLinesAreNeverTheIdes) {
    OutputLineReader reader(BuiltInMessageReader(common::CodePage::Utf8));
    EXPECT_EQ(reader.read("make: Entering directory '/p/sub'").kind, LineKind::Plain);
    for (const char* ide : {"Start Build.", "Build Error.", "End Build.", "Build Error (2).",
                            "Creating Folder: /p/obj", "Start Depmill.", "End Depmill."}) {
        const OutputLine line = reader.read(ide);
        EXPECT_EQ(line.kind, LineKind::Plain) << ide;
        EXPECT_FALSE(line.message.has_value()) << ide;
    }
    const OutputLine message = reader.read("x.c:3:1: error: y");
    ASSERT_TRUE(message.message.has_value());
    EXPECT_EQ(message.kind, LineKind::Error);
    EXPECT_EQ(message.message->directory, "/p/sub");
}

TEST(MessageLine, CommandsMakeLinesAndSummariesAreNoMessages) {
    for (auto line :
         {""sv, "gcc -c -O2 bad.c -o bad.o"sv, "cl /c /DX=f(1) hello.c"sv,
          "make: *** [Makefile:2: all] Error 1"sv, "Makefile:3: *** missing separator.  Stop."sv,
          "make[1]: Entering directory '/tmp/p/sub'"sv, "End Build."sv, "Build Error (2)."sv,
          "bad.c: In function \u2018main\u2019:"sv, "    3 |   int x = ;"sv,
          "2 errors generated."sv, "LINK : fatal error L1093: object not found"sv,
          "foo.c(0) : error C2001: newline in constant"sv, "foo.c:0: error: x"sv,
          "(12) : error C2065: x"sv, ":12:1: error: x"sv, "f.c:12:1: remark: x"sv,
          "f.c(12) : errors found"sv, "f.c:12: warnings: 3"sv}) {
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
        "Start Build.",                                     // 0
        "gcc -c bad.c",                                     // 1
        "bad.c:3:11: error: expected expression",           // 2
        "    3 |   int x = ;",                              // 3
        "bad.c:4:10: note: each undeclared identifier",     // 4
        "make: *** [Makefile:2: bad.o] Error 1",            // 5
        "hello.c(12): Warning! W202: Symbol 'x' unused",    // 6
        "Build Error (2).",                                 // 7
        "LINK : fatal error L1104: obj\\x.obj: not valid",  // 8: leads to no file
    };
    std::vector<std::optional<MessageReading>> readings;
    for (const auto& line : lines) readings.push_back(BuiltInMessageReader().read(line));
    ASSERT_TRUE(readings[8].has_value());
    const ReadingAt at = [&](std::size_t i) { return readings.at(i) ? &*readings.at(i) : nullptr; };
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
