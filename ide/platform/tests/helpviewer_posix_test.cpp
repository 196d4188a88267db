// The desktop's help viewer, with a small script standing in for the opener
// so the test sees which file would be shown.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "childprocess.h"
#include "fakeuiservices.h"
#include "helpviewer.h"
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

class HelpViewerDesktop : public ::testing::Test {
  protected:
    void SetUp() override {
        opener_ = folder_ / "opener.sh";
        std::ofstream(opener_) << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" << record().string()
                               << ".tmp' && mv '" << record().string() << ".tmp' '"
                               << record().string() << "'\n";
        fs::permissions(opener_, fs::perms::owner_all);
        viewer_ = CreateSystemHelpViewer(ui_, *processes_, opener_.string());
        helpFile_ = (folder_ / "cerror.hlp").string();
        std::ofstream(helpFile_) << "help";
    }

    fs::path record() const { return folder_ / "opened.txt"; }

    // What the opener was given, once it has run (it runs detached).
    std::string opened() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!fs::exists(record()) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(record());
        std::stringstream text;
        text << in.rdbuf();
        fs::remove(record());
        return text.str();
    }

    TempFolder temp_;
    const fs::path folder_ = temp_.path();
    fs::path opener_;
    std::string helpFile_;
    FakeUiServices ui_;
    const std::unique_ptr<ChildProcesses> processes_ = CreateSystemChildProcesses();
    std::unique_ptr<HelpViewer> viewer_;
};

TEST_F(HelpViewerDesktop, EveryLookupOpensTheFile) {
    viewer_->contents(helpFile_);
    EXPECT_EQ(opened(), helpFile_ + "\n");
    viewer_->keyword(helpFile_, "C4001");
    EXPECT_EQ(opened(), helpFile_ + "\n");
    viewer_->partialKey(helpFile_, "");
    EXPECT_EQ(opened(), helpFile_ + "\n");
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(HelpViewerDesktop, AnyFileNameReachesTheOpenerAsOneArgument) {
    const std::string odd = (folder_ / "it's \"a\" $HOME `x` \\.hlp").string();
    std::ofstream(odd) << "help";
    viewer_->keyword(odd, "C4001");
    EXPECT_EQ(opened(), odd + "\n");
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(HelpViewerDesktop, TheViewerHasNoneOfTheIdesStandardHandles) {
    // The opener's own handles, read by a child while the opener keeps them.
    std::ofstream(opener_) << "#!/bin/sh\nh=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
                           << "printf '%s\\n' \"$h\" > '" << record().string() << ".tmp' && mv '"
                           << record().string() << ".tmp' '" << record().string() << "'\n";
    viewer_->contents(helpFile_);
    EXPECT_EQ(opened(), "/dev/null\n/dev/null\n/dev/null\n");
}

TEST_F(HelpViewerDesktop, MissingFileIsReportedAndNothingStarts) {
    const std::string missing = (folder_ / "nothere.hlp").string();
    viewer_->keyword(missing, "C4001");
    viewer_->contents("");
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].text, "ヘルプファイル \"" + missing + "\" が見つかりません。");
    EXPECT_EQ(ui_.messages[0].caption, "Vantor");
    EXPECT_EQ(ui_.messages[0].icon, MessageIcon::Stop);

    viewer_->quit(helpFile_);  // the desktop's viewer is left alone
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(fs::exists(record()));
    EXPECT_EQ(ui_.messages.size(), 2u);
}

TEST_F(HelpViewerDesktop, RelativeNameIsFoundBesideTheProgramNeverInTheCurrentFolder) {
    const std::string name = "helpviewer_test_" + folder_.filename().string() + ".hlp";
    const fs::path beside = fs::read_symlink("/proc/self/exe").parent_path() / name;

    // A file of that name in the current folder (a project's) is not taken.
    const fs::path saved = fs::current_path();
    fs::current_path(folder_);
    std::ofstream(folder_ / name) << "planted";
    viewer_->contents(name);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "ヘルプファイル \"" + name + "\" が見つかりません。");

    std::ofstream(beside) << "help";
    viewer_->contents(name);
    EXPECT_EQ(opened(), beside.string() + "\n");
    fs::remove(beside);
    fs::current_path(saved);
    EXPECT_EQ(ui_.messages.size(), 1u);
}

}  // namespace
