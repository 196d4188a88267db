// The main window's stored placement, its title and the Reopen captions.
#include "mainwindowrules.h"

#include <gtest/gtest.h>

#include <climits>

#include "project.h"
#include "settings.h"

namespace {

void ExpectPlacement(const char* text, long left, long top, long width, long height) {
    const WindowPlacement p = ParseWindowPlacement(text);
    EXPECT_EQ(p.left, left) << text;
    EXPECT_EQ(p.top, top) << text;
    EXPECT_EQ(p.width, width) << text;
    EXPECT_EQ(p.height, height) << text;
}

WindowPlacement fit(WindowPlacement p, std::vector<WindowPlacement> areas) {
    return FitPlacementOnScreens(p, areas);
}

TEST(WindowPlacement, StaysWhereItLiesOnAScreen) {
    // One screen with a panel at its top; a second one to its right.
    const std::vector<WindowPlacement> screens{{0, 30, 1920, 1050}, {1920, 0, 1280, 1024}};
    EXPECT_EQ(fit({100, 200, 800, 600}, screens), (WindowPlacement{100, 200, 800, 600}));
    EXPECT_EQ(fit({2000, 0, 1200, 1024}, screens), (WindowPlacement{2000, 0, 1200, 1024}));
    EXPECT_EQ(fit({1920, 0, 1280, 1024}, screens), (WindowPlacement{1920, 0, 1280, 1024}));
    EXPECT_EQ(fit({5, 6, 7, 8}, {}), (WindowPlacement{5, 6, 7, 8}));
}

TEST(WindowPlacement, OffEveryScreenOrTooLargeIsMovedAndShrunkOntoTheNearest) {
    const std::vector<WindowPlacement> screens{{0, 30, 1920, 1050}, {1920, 0, 1280, 1024}};
    // Above the top: the title bar out of reach.
    EXPECT_EQ(fit({100, -500, 800, 600}, screens), (WindowPlacement{100, 30, 800, 600}));
    // Far right and below, off both: onto the nearer, the right-hand one.
    EXPECT_EQ(fit({9000, 5000, 400, 300}, screens), (WindowPlacement{2800, 724, 400, 300}));
    // Partly past the right edge: moved back just that far.
    EXPECT_EQ(fit({2000, 0, 1280, 1024}, screens), (WindowPlacement{1920, 0, 1280, 1024}));
    // Mostly on the second screen: it stays there, pulled in.
    EXPECT_EQ(fit({1800, 100, 1000, 500}, screens), (WindowPlacement{1920, 100, 1000, 500}));
    // Larger than the screen it is on (a maximised window of an older
    // screen): shrunk to the available area.
    EXPECT_EQ(fit({-4, -4, 4000, 3000}, screens), (WindowPlacement{0, 30, 1920, 1050}));
    EXPECT_EQ(fit({-4, 26, 1928, 1058}, {{0, 30, 1920, 1050}}),
              (WindowPlacement{0, 30, 1920, 1050}));
    // Absurd stored numbers and negative sizes still end on the screen.
    EXPECT_EQ(fit({LONG_MAX, LONG_MIN, LONG_MAX, -7}, {{0, 0, 800, 600}}),
              (WindowPlacement{0, 0, 800, 0}));
}

TEST(WindowPlacement, TheFramesOuterBoundsAreFittedAndStayFittedStartAfterStart) {
    // A frame one pixel wide with a 19-pixel title bar above.
    const FrameMargins frame{1, 20, 1, 1};
    const std::vector<WindowPlacement> screen{{0, 0, 1280, 900}};
    // The inner area filling the screen put the title bar above it.
    const WindowPlacement fitted = FitPlacementOnScreens({0, 0, 1280, 900}, screen, frame);
    EXPECT_EQ(fitted, (WindowPlacement{1, 20, 1278, 879}));
    EXPECT_EQ(FitPlacementOnScreens(fitted, screen, frame), fitted);
    // Off the screen and larger than it: onto it, frame and all.
    EXPECT_EQ(FitPlacementOnScreens({-3000, -40, 5000, 5000}, screen, frame), fitted);
    // A frame that lies on the screen stays, also touching its edges.
    EXPECT_EQ(FitPlacementOnScreens({1, 20, 300, 200}, screen, frame),
              (WindowPlacement{1, 20, 300, 200}));
    EXPECT_EQ(FitPlacementOnScreens({100, 10, 300, 200}, screen, frame),
              (WindowPlacement{100, 20, 300, 200}));
    // A frame larger than the screen leaves no room inside.
    EXPECT_EQ(FitPlacementOnScreens({0, 0, 10, 10}, {{0, 0, 1, 15}}, frame),
              (WindowPlacement{1, 20, 0, 0}));
    // Absurd stored numbers with a frame still end on the screen.
    EXPECT_EQ(FitPlacementOnScreens({LONG_MIN, LONG_MAX, LONG_MAX, LONG_MIN}, screen, frame),
              (WindowPlacement{1, 899, 1278, 0}));
}

TEST(WindowPlacement, ReadsFourValuesLeniently) {
    ExpectPlacement("339,107,620,200", 339, 107, 620, 200);
    ExpectPlacement("-4,-4,1032,776", -4, -4, 1032, 776);
    ExpectPlacement("10,20", 10, 20, 0, 0);  // missing values are 0
    ExpectPlacement("", 0, 0, 0, 0);
    ExpectPlacement("-,5,,7", 0, 5, 0, 7);     // a sign or a comma alone reads 0
    ExpectPlacement("1 ,2,3,4", 1, 0, 0, 0);   // a blank stops the reading there
    ExpectPlacement("1,2,3,4,5", 1, 2, 3, 4);  // more values are ignored
    ExpectPlacement("99999999999999999999999,1", LONG_MAX, 1, 0, 0);  // saturates
}

TEST(WindowPlacement, FormatsPlainDecimalsAndReadsThemBack) {
    const WindowPlacement placement{-4, -4, 1032, 776};
    EXPECT_EQ(FormatWindowPlacement(placement), "-4,-4,1032,776");
    const WindowPlacement back = ParseWindowPlacement(FormatWindowPlacement(placement));
    EXPECT_EQ(back.left, -4);
    EXPECT_EQ(back.height, 776);
}

TEST(WindowTitle, NamesTheProjectAndItsFolder) {
    Project project;
    EXPECT_EQ(WindowTitle(project), "Vantor");
    project.projectFolder = "/work/hello";  // a folder without a name is no project here
    EXPECT_EQ(WindowTitle(project), "Vantor");
    project.projectName = "hello";
    EXPECT_EQ(WindowTitle(project), "Vantor - hello (/work/hello)");
}

TEST(HistoryCaption, IsNameAndMakefileFolder) {
    EXPECT_EQ(HistoryCaption({"hello", "C:\\WORK\\HELLO\\MAKEFILE"}, common::CodePage::ShiftJis),
              "hello - C:\\WORK\\HELLO");
    EXPECT_EQ(HistoryCaption({"root", "C:\\MAKEFILE"}, common::CodePage::ShiftJis), "root - C:\\");
    // "表" ends in 0x5C: no separator inside a double-byte character.
    EXPECT_EQ(HistoryCaption({"x", "C:\\\x95\x5C\\makefile"}, common::CodePage::ShiftJis),
              "x - C:\\\x95\x5C");
    EXPECT_EQ(HistoryCaption({"p", "/home/u/p/makefile"}, common::CodePage::Utf8), "p - /home/u/p");
    EXPECT_EQ(HistoryCaption({"bare", "makefile"}, common::CodePage::Utf8), "bare - ");
}

}  // namespace
