// The toolchain table: what the options and the writer rely on in every
// row, so that a new row cannot be picked wrongly or write a broken block.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "toolchains.h"

namespace {

using depmill::toolchains;

TEST(ToolchainTable, DigitsNameTheRowsInOrder) {
    const int count = static_cast<int>(toolchains().size());
    for (int number = 0; number < count; ++number) {
        EXPECT_EQ(depmill::toolchainOfDigit(static_cast<char>('0' + number)), number);
        EXPECT_EQ(&depmill::toolchainNumbered(number), &toolchains()[number]);
    }
    EXPECT_EQ(depmill::toolchainOfDigit(static_cast<char>('0' + count)), std::nullopt);
    for (char other : {'/', '\0', 'a', '-'})
        EXPECT_EQ(depmill::toolchainOfDigit(other), std::nullopt);
}

// A previous makefile's CC picks the row that writes that CC, so no two
// rows may share a compiler, and only the exact name counts.
TEST(ToolchainTable, EachCompilerPicksItsOwnRow) {
    std::set<std::string_view> seen;
    for (int number = 0; number < static_cast<int>(toolchains().size()); ++number) {
        const std::string_view compiler = toolchains()[number].compiler;
        EXPECT_TRUE(seen.insert(compiler).second) << compiler;
        EXPECT_EQ(depmill::toolchainCompiling(compiler), number) << compiler;
        EXPECT_EQ(depmill::toolchainCompiling(std::string(compiler) + " "), std::nullopt);
    }
    EXPECT_EQ(depmill::toolchainCompiling(""), std::nullopt);
    EXPECT_EQ(depmill::toolchainCompiling("CL"), std::nullopt);
}

// A library's macro block takes the first program flag line alone; every
// default is one definition line of a name the macro reader takes back;
// every kind of source has a command.
TEST(ToolchainTable, EveryRowWritesAWellFormedMacroBlock) {
    for (const depmill::Toolchain& row : toolchains()) {
        SCOPED_TRACE(row.compiler);
        ASSERT_FALSE(row.programFlags.empty());
        EXPECT_EQ(row.programFlags.front().name, "CFLAGS");
        for (const auto* lines :
             {&row.programFlags, &row.databaseFlags, &row.cppMacros, &row.assemblerMacros}) {
            for (const depmill::MacroLine& line : *lines) {
                EXPECT_FALSE(line.name.empty());
                EXPECT_EQ(line.name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
                          std::string_view::npos)
                    << line.name;
                EXPECT_EQ(line.value.find('\n'), std::string_view::npos) << line.name;
            }
        }
        for (const auto* command : {&row.compile, &row.compileCpp, &row.assemble})
            EXPECT_FALSE(command->command.empty());
    }
}

}  // namespace
