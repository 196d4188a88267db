// Unit tests of the source-name patterns and of the names a rule can hold.
#include <gtest/gtest.h>

#include "makefilenames.h"
#include "pattern.h"

namespace {

using common::CodePage;
using depmill::matchesPattern;

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

// Names people have stand in a rule as they are; what would end the rule,
// start a recipe, continue the line or be expanded by the command
// interpreter does not.
TEST(MakefileNames, WhichNamesStandInARule) {
    using depmill::NameUse;
    const CodePage sjis = CodePage::ShiftJis;
    for (const char* usable : {"main.c", "sub\\x.h", "../inc/x-1_2.h", "c:\\dos\\x.h", "c:x.h",
                               "\x83\x5C.c", "\x83\x7C.c", "\xE8\xA1\xA8.c"}) {
        EXPECT_TRUE(depmill::isUsableName(usable, NameUse::Command, sjis)) << usable;
    }
    for (const char* unusable : {"a b.c", "a\tb.c", "a#b.c", "a=b.c", "a;b.c", "ab:c.c", "a\rb.c",
                                 "a\nb.c", "sub\\", ""}) {
        EXPECT_FALSE(depmill::isUsableName(unusable, NameUse::Prerequisite, sjis)) << unusable;
    }
    // A source reaches the command interpreter, an include name only make.
    for (const char* name : {"a$(X).c", "a`id`.c", "a|b.c", "a&b.c", "a<b.c", "a>b.c"}) {
        EXPECT_FALSE(depmill::isUsableName(name, NameUse::Command, sjis)) << name;
        EXPECT_TRUE(depmill::isUsableName(name, NameUse::Prerequisite, sjis)) << name;
    }
    // 0x7C and 0x5C stand alone where they are no trail bytes.
    EXPECT_FALSE(depmill::isUsableName("\x83\x7C.c", NameUse::Command, CodePage::Utf8));
    EXPECT_FALSE(depmill::isUsableName("x\x83\x5C", NameUse::Prerequisite, CodePage::Utf8));
    EXPECT_TRUE(depmill::isUsableName("x\x83\x5C", NameUse::Prerequisite, sjis));

    EXPECT_EQ(depmill::escapedForMake("$(CC)$x$"), "$$(CC)$$x$$");
    EXPECT_EQ(depmill::skippedNameWarning("a\nb\r\x1B.c"),
              "Depmill: skipped a?b??.c: not usable in a makefile\n");
}

}  // namespace
