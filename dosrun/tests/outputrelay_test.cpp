#include "outputrelay.h"

#include <gtest/gtest.h>

using dosrun::OutputRelay;

namespace {
constexpr char kMarker[] = "DOSRUN-END-0123456789ABCDEF";
}

TEST(OutputRelay, HandsOutCompleteLinesOnlyWithDosLineEndsMadeUnix) {
    OutputRelay relay(kMarker, "Illegal command: CL.");
    EXPECT_EQ(relay.feed("HELLO.C(3) : error C2065: x\r\nHEL"), "HELLO.C(3) : error C2065: x\n");
    EXPECT_EQ(relay.feed("LO.C(4) : warning"), "");
    EXPECT_EQ(relay.feed(" C4001: y\r\n\r\nlone\rcarriage return\n"),
              "HELLO.C(4) : warning C4001: y\n\nlone\rcarriage return\n");
    EXPECT_FALSE(relay.ended());
}

TEST(OutputRelay, KeepsEveryOtherByte) {
    OutputRelay relay(kMarker, "Illegal command: CL.");
    // Shift-JIS "表示" (0x5C trail byte), a byte 0xFF and a NUL.
    const std::string bytes("\x95\x5c\x8e\xa6 \xff\x00 end\r\n", 13);
    EXPECT_EQ(relay.feed(bytes), std::string("\x95\x5c\x8e\xa6 \xff\x00 end\n", 12));
}

TEST(OutputRelay, StopsAtTheMarkerAndKeepsALastLineWithoutLineEnd) {
    OutputRelay relay(kMarker, "Illegal command: CL.");
    EXPECT_EQ(relay.feed("done\r\nprompt> "), "done\n");
    EXPECT_EQ(relay.feed(std::string(kMarker).substr(0, 10)), "");
    EXPECT_EQ(relay.feed(std::string(kMarker).substr(10) + "\r\nafter\r\n"), "prompt> ");
    EXPECT_TRUE(relay.ended());
    EXPECT_EQ(relay.feed("more\r\n"), "");
    EXPECT_EQ(relay.finish(), "");
}

TEST(OutputRelay, FinishGivesAnUnendedLineWhenTheMarkerNeverCame) {
    OutputRelay relay(kMarker, "Illegal command: CL.");
    relay.feed("a\r\nhalf a li");
    EXPECT_EQ(relay.finish(), "half a li");
    EXPECT_FALSE(relay.ended());
}

TEST(OutputRelay, NoticesTheShellsLineForAMissingProgramInAnyCase) {
    OutputRelay relay(kMarker, "Illegal command: cl.");
    relay.feed("Illegal command: CL.EXE.\r\n");
    EXPECT_FALSE(relay.sawMissingProgram());
    relay.feed("Illegal command: CL.\r\n");
    EXPECT_TRUE(relay.sawMissingProgram());
}
