// Unit tests of the source-name patterns and of the names a rule can hold.
#include <gtest/gtest.h>

#include "makefilenames.h"
#include "pattern.h"

namespace {

using common::CodePage;
using depmill::matchesPattern;

// The make of Windows reads a drive letter; a POSIX make reads its ":" as a rule's.
#ifdef _WIN32
constexpr bool kDriveLettersStand = true;
#else
constexpr bool kDriveLettersStand = false;
#endif

TEST(Pattern, StarStopsAtTheFirstDot) {
    EXPECT_TRUE(matchesPattern("*.c", "main.c"));
    EXPECT_TRUE(matchesPattern("*.c", "MAIN.C"));
    EXPECT_TRUE(matchesPattern("*.cpp", "Io.CpP"));
    EXPECT_TRUE(matchesPattern("*.c", ".c"));
    EXPECT_FALSE(matchesPattern("*.c", "main.cpp"));
    EXPECT_FALSE(matchesPattern("*.c", "a.b.c"));
    EXPECT_FALSE(matchesPattern("*.c", "main"));
    EXPECT_FALSE(matchesPattern("*.c", "main.c~"));
    EXPECT_FALSE(matchesPattern("*.ec", "main.c"));
    EXPECT_FALSE(matchesPattern("*.y", "."));
    EXPECT_FALSE(matchesPattern("*.y", ".."));
    // The pattern resumes at its own next ".", skipping what the star had.
    EXPECT_TRUE(matchesPattern("*abc.c", "x.c"));
}

TEST(Pattern, QuestionMarkAndAMissingExtension) {
    EXPECT_TRUE(matchesPattern("?.c", "a.c"));
    EXPECT_TRUE(matchesPattern("??.c", "a.c"));  // "?" takes nothing at the "."
    EXPECT_FALSE(matchesPattern("?.c", "ab.c"));
    EXPECT_TRUE(matchesPattern("*.*", "makefile"));
    EXPECT_TRUE(matchesPattern("make.???", "make"));
    EXPECT_TRUE(matchesPattern("*.?", "a.y"));
    EXPECT_FALSE(matchesPattern("*.?", "a.yy"));
    EXPECT_FALSE(matchesPattern("make.c", "make"));
}

// make and the shell read bytes: a byte either acts where the name is
// written (a dependency line, a command, an include folder's places) or
// not, whether it is a character of its own or a second byte of Shift-JIS.
TEST(MakefileNames, WhichNamesStandWhereTheyAreWritten) {
    using depmill::NameUse;
    struct Case {
        std::string name;
        bool prerequisite, command, folder;
    };
    const bool drive = kDriveLettersStand;
    const Case cases[] = {
        {"main.c", true, true, true},
        {"../inc/x-1_2.h", true, true, true},
        {"\x83\x66\x81\x5B\x83\x5E.c", true, true, true},          // データ: a "[" alone, a "^"
        {"\x93\xFA\x96\x7B\x92\x6E\x90\x7D.c", true, true, true},  // 日本地図: "{" "}" alone
        {"sub\\x.h", true, false, true},
        {"\x95\x5C.c", true, false, true},        // 表: a "\" for the shell
        {"%.c", true, false, true},               // a pattern rule as a target
        {"-rf.c", true, false, true},             // an option of rm
        {"A\x83`pw\x83`.c", true, false, false},  // a command substitution
        {"a(b).c", true, false, false},
        {"q'x.c", true, false, false},
        {"x{a,b}.c", true, false, false},
        {"x{a..c}.c", true, false, false},
        {"\x83\x7D\x83\x7B.asm", true, false, false},  // マボ: "}{" around masm's ","
        {"a$(X)&<b>", true, false, false},
        {"a(b)", false, false, false},                // an archive's member
        {"\x83\x8C\x83\x7C.c", false, false, false},  // レポ: "|" splits prerequisites
        {"\x83\x66\x81\x5B\x83\x5E\x93\x5D.c", false, false, false},  // データ転: a "[...]" set
        {"\x83\x5C", false, false, false},  // ソ: a final 0x5C continues the line
        {"sub\\", false, false, false},
        {"*.c", false, false, false},
        {"a?.c", false, false, false},
        {"~/x.h", false, false, false},
        {"ab:c.c", false, false, false},
        {"c:x.h", drive, drive, drive},
        {"c:\\dos\\x.h", drive, false, drive},
        {"a b.c", false, false, false},
        {"a\tb.c", false, false, false},
        {"a#b.c", false, false, false},
        {"a=b.c", false, false, false},
        {"a;b.c", false, false, false},
        {"e\x1B[m.h", false, false, false},
        {std::string("a\0b.h", 5), false, false, false},
        {"", false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(depmill::isUsableName(c.name, NameUse::Prerequisite), c.prerequisite) << c.name;
        EXPECT_EQ(depmill::isUsableName(c.name, NameUse::Command), c.command) << c.name;
        EXPECT_EQ(depmill::isUsableName(c.name, NameUse::Folder), c.folder) << c.name;
    }
    // A source's object file is a command word too.
    EXPECT_TRUE(depmill::isUsableSource("x[.c", "obj", CodePage::ShiftJis));
    EXPECT_FALSE(depmill::isUsableSource("x[.c", "o]", CodePage::ShiftJis));

    for (std::string_view value : {"-O /W3", "", "\x95\x5C x"})
        EXPECT_TRUE(depmill::isUsableValue(value)) << value;
    for (std::string_view value :
         {std::string_view("\x83\x5C"), std::string_view("a\\"), std::string_view("a\0b", 3)})
        EXPECT_FALSE(depmill::isUsableValue(value)) << value;

    EXPECT_EQ(depmill::escapedForMake("$(CC)$x$"), "$$(CC)$$x$$");
    EXPECT_EQ(depmill::skippedNameWarning("a\nb\r\x1B.c"),
              "Depmill: skipped a?b??.c: not usable in a makefile\n");
}

}  // namespace
