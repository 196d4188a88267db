// The window-free rules of Build, Rebuild and Check dependencies.
#include "buildsteps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fakesoundplayer.h"
#include "fakeuiservices.h"
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

TEST(BuildStepsSummary, EachResultHasItsLineAndSound) {
    struct Case {
        int result;
        const char* line;
        const char* sound;
    };
    const Case cases[] = {{0, "End Build.", "BuildComplete"},
                          {-2, "Build Warning.", "BuildWarning"},
                          {-1, "Build Failed.", ""},
                          {-3, "Build Error.", "BuildError"},
                          {2, "Build Error (2).", "BuildError"},
                          {1, "Build Error (1).", "BuildError"},
                          {-4, "Build Error (-4).", "BuildError"}};
    for (const auto& c : cases) {
        const auto summary = SummarizeBuildStep("Build", {false, c.result});
        EXPECT_EQ(summary.line, c.line);
        EXPECT_EQ(summary.sound, c.sound);
    }
    EXPECT_EQ(SummarizeBuildStep("Rebuild", {}).line, "End Rebuild.");
    // A stopped run is no exit status, whatever its code holds.
    for (const int code : {0, -1, 2}) {
        const auto stopped = SummarizeBuildStep("Rebuild", {true, code});
        EXPECT_EQ(stopped.line, "Rebuild Stopped.");
        EXPECT_EQ(stopped.sound, "BuildError");
    }
}

TEST(BuildStepsSummary, FinishWritesOneLineAndPlaysWithoutWaiting) {
    std::vector<std::string> lines;
    // The summary is the IDE's own line, marked so when it is written.
    auto output = [&lines](const std::string& line, LineKind kind) {
        EXPECT_EQ(kind, LineKind::Summary) << line;
        lines.push_back(line);
    };
    FakeSoundPlayer sounds;

    FinishBuildStep("Rebuild", {false, kRunWarning}, output, sounds);
    ASSERT_EQ(sounds.plays.size(), 1u);
    EXPECT_EQ(sounds.plays[0].event, "BuildWarning");
    EXPECT_EQ(sounds.plays[0].fallback, SoundFallback::SystemDefault);
    EXPECT_EQ(sounds.plays[0].wait, SoundWait::No);

    FinishBuildStep("Build", {false, kRunFailed}, output, sounds);  // could not start: no sound
    FinishBuildStep("", {false, 3}, output, sounds);                // the generator: nothing at all
    EXPECT_EQ(lines, (std::vector<std::string>{"Rebuild Warning.", "Build Failed."}));
    EXPECT_EQ(sounds.plays.size(), 1u);
}

TEST(BuildStepsDepmill, OptionsFollowInTheirFixedOrder) {
    Project project;
    project.targetName = "tool.lib";
    project.targetType = 1;
    project.memoryModel = 3;
    EXPECT_EQ(DepmillCommandLine("depmill -t1", project, true, "obj"),
              "depmill -t1 -l -o tool.lib -O obj -ml");
    EXPECT_EQ(DepmillCommandLine("depmill -t1", project, false, "obj"), "depmill -t1 -l -ml");

    project.targetType = 0;
    project.targetName = "db.exe";
    project.memoryModel = 1;
    project.database = 1;
    EXPECT_EQ(DepmillCommandLine("depmill", project, true, ""), "depmill -o db.exe -mm -d");
    EXPECT_EQ(DepmillCommandLine("depmill", project, false, "obj"), "depmill -mm -d");

    project.database = 0;
    project.memoryModel = 9;  // not a model: small
    EXPECT_EQ(DepmillCommandLine("", project, false, ""), " -ms");
}

class BuildStepsCreateFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        project_.projectFolder = folder_.string();
        project_.projectFile = (folder_ / "makefile").string();
    }

    void writeMakefile(const std::string& outdir) {
        std::ofstream(project_.projectFile) << "MODEL\t= l\nOUTDIR\t= " << outdir << "\n\nall:\n";
    }

    std::vector<std::string> create(bool debug) {
        std::vector<std::string> lines;
        CreateOutputFolder(
            project_, debug,
            [&](const std::string& l, LineKind kind) {
                EXPECT_EQ(kind, LineKind::Ide);
                lines.push_back(l);
            },
            ui_);
        return lines;
    }

    TempFolder temp_;
    const fs::path folder_ = temp_.path();
    Project project_;
    FakeUiServices ui_;
};

TEST_F(BuildStepsCreateFolder, CreatesTheLastLevelOnly) {
    writeMakefile("obj");
    EXPECT_EQ(create(true),
              std::vector<std::string>{"Creating Folder: " + (folder_ / "obj").string()});
    EXPECT_TRUE(fs::is_directory(folder_ / "obj"));
    EXPECT_TRUE(create(false).empty());  // exists already: nothing reported

    // A DOS-style value names a folder below the project; its parent is missing.
    writeMakefile("out\\debug");
    EXPECT_EQ(create(true).size(), 1u);
    EXPECT_FALSE(fs::exists(folder_ / "out"));
    fs::create_directory(folder_ / "out");
    create(false);
    EXPECT_TRUE(fs::is_directory(folder_ / "out" / "debug"));

    const fs::path absolute = folder_ / "abs";
    writeMakefile(absolute.string());
    create(false);
    EXPECT_TRUE(fs::is_directory(absolute));
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(BuildStepsCreateFolder, NothingForDotNoValueOrNoMakefile) {
    writeMakefile(".");
    EXPECT_TRUE(create(true).empty());
    std::ofstream(project_.projectFile) << "CC = cl\n";
    EXPECT_TRUE(create(true).empty());
    EXPECT_TRUE(ui_.messages.empty());

    fs::remove(project_.projectFile);
    EXPECT_TRUE(create(true).empty());
    ASSERT_EQ(ui_.messages.size(), 1u);  // the reader's own message
    EXPECT_EQ(ui_.messages[0].caption, "プロジェクトファイルがオープンできません。");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 0);
}

}  // namespace
