// The argument macros of the user's tools.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dospath.h"
#include "fakeuiservices.h"
#include "project.h"
#include "tool.h"

namespace {

Project helloProject() {
    Project project;
    project.projectName = "hello";
    project.projectFile = "/work/my hello/makefile";
    project.projectFolder = "/work/my hello";
    project.targetName = "hello.exe";
    return project;
}

// Expands with a chooser that must not be asked.
std::string expand(std::string arguments, const Project& project = helloProject()) {
    const bool done = ExpandToolArguments(arguments, project, {}, [](const std::string&) {
        ADD_FAILURE() << "chooser shown";
        return std::optional<std::string>();
    });
    EXPECT_TRUE(done);
    return arguments;
}

TEST(ToolArgumentsExpansion, ProjectMacrosAreReplacedAndQuotedWhenTheyHoldBlanks) {
    EXPECT_EQ(expand("$(ProjName) $(ProjFile) $(ProjPath)"),
              "hello makefile \"/work/my hello/makefile\"");
    EXPECT_EQ(expand("$(ProjDir)|$(ProjFolder)"), "\"/work/my hello\"|\"/work/my hello\"");
    EXPECT_EQ(expand("-o$(TargetName).map"), "-ohello.exe.map");
    // The target's path joins with the system's own separator.
    EXPECT_EQ(expand("$(Target) -v"),
              std::string("\"/work/my hello") + common::kNativeSeparator + "hello.exe\" -v");
    EXPECT_EQ(expand("\"$(ProjDir)\""), "\"/work/my hello\"");
    EXPECT_EQ(expand("plain text, no macro"), "plain text, no macro");

    Project dos = helloProject();
    dos.projectFile = "C:\\WORK\\HELLO\\MAKEFILE";
    EXPECT_EQ(expand("$(ProjFile)", dos), "MAKEFILE");

    // Without a project the macros are empty; the target is the separator.
    EXPECT_EQ(expand("[$(ProjName)$(ProjFile)$(ProjDir)$(TargetName)]$(Target)", Project{}),
              std::string("[]") + common::kNativeSeparator);
}

TEST(ToolArgumentsExpansion, DollarWithoutAMacroGivesTheNextCharacter) {
    EXPECT_EQ(expand("$$x"), "$x");
    EXPECT_EQ(expand("a$"), "a");
    EXPECT_EQ(expand("$"), "");
    EXPECT_EQ(expand("$y"), "y");
    EXPECT_EQ(expand("$(select) $(Other)"), "(select) (Other)");
    EXPECT_EQ(expand("$(ProjName"), "(ProjName");
    EXPECT_EQ(expand("$$(ProjName)"), "$(ProjName)");
}

TEST(ToolArgumentsExpansion, SelectAsksOnceForEachOccurrence) {
    std::vector<std::string> folders;
    std::vector<std::string> answers{"/tmp/a.c", "/tmp/b c.h"};
    auto chooser = [&](const std::string& folder) -> std::optional<std::string> {
        folders.push_back(folder);
        auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    std::string arguments = "-x $(Select) $(ProjName) $(Select)";
    ASSERT_TRUE(ExpandToolArguments(arguments, helloProject(), "/tools", chooser));
    EXPECT_EQ(arguments, "-x /tmp/a.c hello \"/tmp/b c.h\"");
    EXPECT_EQ(folders, (std::vector<std::string>{"/tools", "/tools"}));

    // Without a tool folder the chooser starts in the project folder.
    folders.clear();
    answers = {"f"};
    arguments = "$(Select)";
    ASSERT_TRUE(ExpandToolArguments(arguments, helloProject(), "", chooser));
    EXPECT_EQ(folders, std::vector<std::string>{"/work/my hello"});
}

TEST(ToolArgumentsExpansion, CancelledSelectLeavesTheTextUnchanged) {
    FakeUiServices ui;
    ui.fileAnswers = {std::string("/tmp/first.c"), std::nullopt};
    Tool tool;
    tool.name = "lint";
    std::string arguments = "$(Select) $(ProjName) $(Select)";
    EXPECT_FALSE(ExpandToolArguments(arguments, Project{}, tool, ui));
    EXPECT_EQ(arguments, "$(Select) $(ProjName) $(Select)");
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(ui.fileRequests[0].title, "ツール lint で使うファイルを選択");
    // The tool's name is data among the program's words.
    ASSERT_EQ(ui.shownTexts[0].parts().size(), 3u);
    EXPECT_FALSE(ui.shownTexts[0].parts()[0].isData);
    EXPECT_TRUE(ui.shownTexts[0].parts()[1].isData);
    EXPECT_EQ(ui.shownTexts[0].parts()[1].bytes, "lint");
    EXPECT_EQ(ui.fileRequests[0].initialFolder, "");  // the chooser's own default
    EXPECT_EQ(ui.fileRequests[0].filter, "");

    ui.fileAnswers = {std::string("/src/x.c")};
    tool.folder = "/src";
    arguments = "$(Select)";
    EXPECT_TRUE(ExpandToolArguments(arguments, helloProject(), tool, ui));
    EXPECT_EQ(arguments, "/src/x.c");
    EXPECT_EQ(ui.fileRequests.back().initialFolder, "/src");
}

}  // namespace
