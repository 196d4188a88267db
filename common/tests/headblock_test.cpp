#include "headblock.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tempfolder.h"

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
    EXPECT_FALSE(parseMacroDefinition("= value"));       // no name
    EXPECT_FALSE(parseMacroDefinition("   "));           // nothing at all
    EXPECT_FALSE(parseMacroDefinition("all: $(PROG)"));  // no "="
}

namespace {

using common::LineRoom;

struct HeadBlock {
    common::HeadBlockEnd end;
    std::vector<common::MacroDefinition> definitions;
};

HeadBlock readHeadBlock(const std::string& text, LineRoom room,
                        common::CodePage cp = common::CodePage::Utf8) {
    const TempFolder folder("headblock-");
    const auto path = folder.path() / "makefile";
    std::ofstream(path, std::ios::binary) << text;
    common::LineReader reader(path.string());
    EXPECT_TRUE(reader.isOpen());
    HeadBlock block{common::HeadBlockEnd::Complete, {{"stale", "entry"}}};
    block.end = common::readHeadBlock(reader, cp, room, block.definitions);
    return block;
}

std::vector<std::string> valuesOf(const HeadBlock& block) {
    std::vector<std::string> values;
    for (const auto& definition : block.definitions) values.push_back(definition.value);
    return values;
}

using Values = std::vector<std::string>;

}  // namespace

// What both rooms read alike: comments and empty lines passed over inside
// a continued line, the block's end at a line without "=", a 0x5C trail
// byte that continues nothing, CR LF line ends.
TEST(HeadBlock, BothRoomsJoinLinesAlike) {
    for (const LineRoom room : {LineRoom::SharedByLogicalLine, LineRoom::EachPiece}) {
        EXPECT_EQ(
            valuesOf(readHeadBlock("# c\n\nA = 1 \\\r\n# c\n\n  2\nB=3\nall: x\nC = 4\n", room)),
            (Values{"1   2", "3"}));
        EXPECT_EQ(
            valuesOf(readHeadBlock("A = \x95\x5C\nB = 2\n", room, common::CodePage::ShiftJis)),
            (Values{"\x95\x5C", "2"}));
        EXPECT_EQ(valuesOf(readHeadBlock("", room)), Values{});
    }
}

// Where they part: the backslash that the file's end follows, a continued
// line beyond one read's room, a backslash at the end of a full piece.
TEST(HeadBlock, RoomsPartAtTheEdges) {
    const auto shared = [](const std::string& text) {
        return valuesOf(readHeadBlock(text, LineRoom::SharedByLogicalLine));
    };
    const auto eachPiece = [](const std::string& text) {
        return valuesOf(readHeadBlock(text, LineRoom::EachPiece));
    };
    EXPECT_EQ(shared("A = x\\\n"), Values{"x\\"});
    EXPECT_EQ(eachPiece("A = x\\\n"), Values{"x"});

    // The shared room leaves the continuation 91 bytes; the rest of the
    // line, without "=", ends the block there.
    const std::string continued =
        "A = " + std::string(4000, 'a') + "\\\n" + std::string(200, 'b') + "\nB = 2\n";
    EXPECT_EQ(shared(continued), Values{std::string(4000, 'a') + std::string(91, 'b')});
    EXPECT_EQ(eachPiece(continued), (Values{std::string(4000, 'a') + std::string(200, 'b'), "2"}));

    // A piece of 4096 bytes ending in a backslash is no line end for the
    // shared room; the rest of its line is a logical line of its own.
    const std::string full = "A = " + std::string(4091, 'a') + "\\";
    EXPECT_EQ(shared(full + "B = 2\n"), (Values{std::string(4091, 'a') + "\\", "2"}));
    EXPECT_EQ(eachPiece(full + "B = 2\n"), Values{std::string(4091, 'a') + "B = 2"});
}

TEST(HeadBlock, DefinitionsBeyondTheLimitAreRefused) {
    std::string text = " = nameless\n";  // passed over, not counted
    for (std::size_t i = 0; i < common::kMaxHeadBlockDefinitions; ++i)
        text += "M" + std::to_string(i) + " = v\n";
    for (const LineRoom room : {LineRoom::SharedByLogicalLine, LineRoom::EachPiece}) {
        const HeadBlock full = readHeadBlock(text + "all: x\nX = 1\n", room);
        EXPECT_EQ(full.end, common::HeadBlockEnd::Complete);
        ASSERT_EQ(full.definitions.size(), common::kMaxHeadBlockDefinitions);
        EXPECT_EQ(full.definitions.front().name, "M0");
        // Once the table is full any line with "=" is refused, one without a
        // name too.
        EXPECT_EQ(readHeadBlock(text + " = late\n", room).end,
                  common::HeadBlockEnd::TooManyDefinitions);
    }
}
