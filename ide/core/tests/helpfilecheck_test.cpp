// Help commands whose file is not set: one message box, nothing opened;
// set files pass through to the viewer unchanged.
#include "helpfilecheck.h"

#include <gtest/gtest.h>

#include "fakehelpviewer.h"
#include "fakeuiservices.h"

namespace {

using Command = FakeHelpViewer::Command;

struct HelpFileCheckTest : ::testing::Test {
    FakeHelpViewer viewer;
    FakeUiServices ui;
    HelpFileCheck help{viewer, ui};
};

TEST_F(HelpFileCheckTest, EveryOpeningCommandOnAnUnsetFileShowsOneMessageAndOpensNothing) {
    help.contents("");
    help.keyword("", "C2065");
    help.partialKey("", "");
    EXPECT_TRUE(viewer.requests.empty());
    ASSERT_EQ(ui.messages.size(), 3u);
    for (const auto& message : ui.messages) {
        EXPECT_EQ(message.text, kHelpFileNotSetMessage);
        EXPECT_EQ(message.caption, "Vantor");
        EXPECT_EQ(message.icon, MessageIcon::Stop);
    }
}

TEST_F(HelpFileCheckTest, SetFilesReachTheViewerWithTheirKeys) {
    help.contents("ide.hlp");
    help.keyword("/usr/share/doc/errors.hlp", "C2065");
    help.partialKey("errors.hlp", "C4");
    help.quit("ide.hlp");
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(viewer.requests.size(), 4u);
    EXPECT_EQ(viewer.requests[0].command, Command::Contents);
    EXPECT_EQ(viewer.requests[1].helpFile, "/usr/share/doc/errors.hlp");
    EXPECT_EQ(viewer.requests[1].key, "C2065");
    EXPECT_EQ(viewer.requests[2].command, Command::PartialKey);
    EXPECT_EQ(viewer.requests[2].key, "C4");
    EXPECT_EQ(viewer.requests[3].command, Command::Quit);
}

TEST_F(HelpFileCheckTest, ClosingAnUnsetFileIsSilent) {
    help.quit("");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(viewer.requests.empty());
}

}  // namespace
