// The main window's stored placement, its title and the Reopen captions.
#include "mainwindowrules.h"

#include <gtest/gtest.h>

#include <climits>

#include "proj.h"
#include "regist.h"

namespace {

void ExpectPlacement(const char* text, long left, long top, long width, long height) {
    const WindowPlacement p = ParseWindowPlacement(text);
    EXPECT_EQ(p.left, left) << text;
    EXPECT_EQ(p.top, top) << text;
    EXPECT_EQ(p.width, width) << text;
    EXPECT_EQ(p.height, height) << text;
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
    TPROJ project;
    EXPECT_EQ(WindowTitle(project), "Vantor");
    project.projectfolder = "/work/hello";  // a folder without a name is no project here
    EXPECT_EQ(WindowTitle(project), "Vantor");
    project.projectname = "hello";
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
