#include "macrodefinition.h"

#include <gtest/gtest.h>

using common::parseMacroDefinition;

TEST(MacroDefinition, NameAndValue) {
    const auto plain = parseMacroDefinition("CFLAGS\t= /AL /W3");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->name, "CFLAGS");
    EXPECT_EQ(plain->value, "/AL /W3");

    // Leading white space before the name, none around "=", a further "="
    // belongs to the value, trailing blanks stay.
    const auto tight = parseMacroDefinition("  \tX=a=b  ");
    ASSERT_TRUE(tight);
    EXPECT_EQ(tight->name, "X");
    EXPECT_EQ(tight->value, "a=b  ");
}

TEST(MacroDefinition, TextBetweenNameAndEqualsIsDropped) {
    const auto append = parseMacroDefinition("OBJS += a.obj");
    ASSERT_TRUE(append);
    EXPECT_EQ(append->name, "OBJS");
    EXPECT_EQ(append->value, "a.obj");
}

TEST(MacroDefinition, EmptyValueAndNoDefinition) {
    const auto empty = parseMacroDefinition("HDRPATH\t=");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->value, "");
    EXPECT_FALSE(parseMacroDefinition("= value"));     // no name
    EXPECT_FALSE(parseMacroDefinition("   "));         // nothing at all
    EXPECT_FALSE(parseMacroDefinition("all: $(PROG)"));  // no "="
}
