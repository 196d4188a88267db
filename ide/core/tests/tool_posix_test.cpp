// The argument macros of the user's tools over the POSIX build's command
// line: the Windows rules of its splitter, and the "cmd /c" form run by
// /bin/sh with every value as the literal text it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "childprocess.h"
#include "commandline_posix.h"
#include "dospath.h"
#include "fakeuiservices.h"
#include "project.h"
#include "runner.h"
#include "shelloutput.h"
#include "tempfolder.h"
#include "tool.h"

namespace {

// A project whose names were chosen to attack the tool's command line: each
// must reach the tool as it is, under either of the two ways a command runs.
TEST(ToolArgumentsExpansion, HostileProjectNamesReachTheToolAsLiteralText) {
    Project project;
    project.projectName = "x$(echo INJECTED)`echo INJECTED`;echo INJECTED";
    project.projectFolder = "/w/it's \"a\" dir\\";
    project.projectFile = project.projectFolder + "/makefile";
    project.targetName = "t'\"$HOME.exe";
    const std::string arguments = "$(ProjName) \"$(ProjDir)\" '$(TargetName)' -o$(ProjPath)";
    const std::vector<std::string> expected = {project.projectName, project.projectFolder,
                                               project.targetName, "-o" + project.projectFile};

    // Split by the Windows rules, program found and started without a shell.
    std::string windows = arguments;
    ASSERT_TRUE(ExpandToolArguments(windows, project, {}, {}, common::CodePage::Utf8, "lint"));
    auto args = SplitCommandLine("lint " + windows, common::CodePage::Utf8);
    ASSERT_EQ(args.size(), 5u) << windows;
    EXPECT_EQ(args[1], expected[0]);
    EXPECT_EQ(args[2], expected[1]);
    EXPECT_EQ(args[3], "'" + expected[2] + "'");  // single quotes mean nothing there
    EXPECT_EQ(args[4], expected[3]);

    // A "cmd /c" line, run by the shell.
    const std::string command = "cmd /c printf '[%s]\\n'";
    std::string shell = arguments;
    ASSERT_TRUE(ExpandToolArguments(shell, project, {}, {}, common::CodePage::Utf8, command));
    EXPECT_EQ(ShellOutput(*CommandInterpreterRest(command + " " + shell)),
              "[" + expected[0] + "]\n[" + expected[1] + "]\n[" + expected[2] + "]\n[" +
                  expected[3] + "]\n");
}

// Shift-JIS names with arbitrary bytes: a folder ending in a lead byte, names
// holding "ソ" (0x83 0x5C), whose second byte is the code of "\".
TEST(ToolArgumentsExpansion, ShiftJisNamesReachTheShellAsLiteralText) {
    Project project;
    project.projectFolder = "/w/sdfo\\\x83";
    project.projectFile = project.projectFolder + "/makefile";
    project.projectName = "\x83\x5C";
    project.targetName = "\x83\x5C.lib";
    const std::string command = "cmd /c printf '[%s]\\n' \xA1less";
    std::string arguments = "\"$(Target)\" '$(ProjName)' $(ProjFile)10 \"$(ProjDir)\"";
    ASSERT_TRUE(
        ExpandToolArguments(arguments, project, {}, {}, common::CodePage::ShiftJis, command));
    EXPECT_EQ(ShellOutput(*CommandInterpreterRest(command + " " + arguments)),
              "[\xA1less]\n[" + project.projectFolder + "/" + project.targetName + "]\n[" +
                  project.projectName + "]\n[makefile10]\n[" + project.projectFolder + "]\n");
}

// A tool clicked in a project whose every name was chosen to attack it: the
// tool runs through the real runner and /bin/sh in a folder of its own,
// and every value must reach printf as the literal text it is, whichever
// quotes surround its macro and whether the program field holds "cmd /c"
// with its command or only "cmd", with "/c" in the arguments.
TEST(ToolArgumentsExpansion, EveryMacroReachesAShellToolLiterallyHoweverTheToolIsWritten) {
    const std::vector<std::string> attacks = {
        "$(touch PWNED)", "`touch PWNED`",        "a;touch PWNED",
        "a|touch PWNED",  "a&touch PWNED",        "a<PWNED",
        "a>PWNED",        "it's \"x\"",           "\"'\"",
        "a\ntouch PWNED", "\\\"$(touch PWNED)\\",
    };
    const std::vector<std::string> macros = {"$(Select)",     "$(ProjName)", "$(ProjFile)",
                                             "$(ProjPath)",   "$(ProjDir)",  "$(ProjFolder)",
                                             "$(TargetName)", "$(Target)"};
    struct Writing {
        std::string command;
        std::string argumentsHead;
    };
    const Writing writings[] = {{"cmd /c printf '[%s]\\n'", ""}, {"cmd", "/c printf '[%s]\\n' "}};
    TempFolder temp;
    FakeUiServices ui;
    const std::unique_ptr<ChildProcesses> processes = CreateSystemChildProcesses();
    const RunServices services{ui, *processes, common::CodePage::Utf8};
    struct Collected : OutputLines {
        void append(const OutputLine& line) override { text += line.text + "\n"; }
        std::string text;
    };
    for (const std::string& attack : attacks) {
        Project project;
        project.projectName = attack;
        project.projectFolder = "/w/" + attack;
        project.projectFile = project.projectFolder + common::kNativeSeparator + attack + ".mak";
        project.targetName = attack + ".exe";
        const std::vector<std::string> values = {
            attack,
            project.projectName,
            common::fileNamePart(project.projectFile, common::CodePage::Utf8),
            project.projectFile,
            project.projectFolder,
            project.projectFolder,
            project.targetName,
            project.projectFolder + common::kNativeSeparator + project.targetName};
        std::string expected;
        for (const std::string& value : values) expected += "[" + value + "]\n";
        for (const char* quote : {"", "\"", "'"}) {
            std::string arguments;
            for (const std::string& macro : macros) arguments += " " + (quote + macro + quote);
            for (const Writing& writing : writings) {
                Tool tool;
                tool.command = writing.command;
                tool.arguments = writing.argumentsHead + arguments.substr(1);
                tool.folder = temp.path().string();
                ASSERT_TRUE(ExpandToolArguments(
                    tool.arguments, project, {},
                    [&](const std::string&) { return std::optional<std::string>(attack); },
                    common::CodePage::Utf8, tool.command));
                Collected output;
                EXPECT_EQ(RunCaptured(tool, &output, services, false).code, kRunSucceeded);
                EXPECT_EQ(output.text, expected)
                    << "value [" << attack << "] quotes [" << quote << "] program ["
                    << writing.command << "] line [" << ComposeCommandLine(tool) << "]";
                EXPECT_FALSE(std::filesystem::exists(temp.path() / "PWNED"))
                    << "value [" << attack << "] quotes [" << quote << "] program ["
                    << writing.command << "]";
                std::filesystem::remove(temp.path() / "PWNED");
            }
        }
    }
}

// Whatever a value holds, it never decides whether the line is a "cmd /c"
// line: a value where the line's beginning leaves that open goes in quoted.
TEST(ToolArgumentsExpansion, AValueNeverMakesTheLineACommandInterpreterLine) {
    Project project;
    project.projectName = "/ctouch${IFS}PWNED";
    for (const std::string command : {"cmd", "CMD.exe", ""}) {
        // With no program the arguments' first word names it.
        std::string arguments = command.empty() ? "cmd$(ProjName)" : "$(ProjName)";
        ASSERT_TRUE(
            ExpandToolArguments(arguments, project, {}, {}, common::CodePage::Utf8, command));
        const std::string line = command + " " + arguments;
        EXPECT_EQ(CommandSyntaxOf(line), CommandSyntax::Windows) << line;
    }
    // The template's own "cmd /c", written with a "$" that gives "/", is the
    // shell's line, and its values are quoted for the shell.
    std::string arguments = "$/c printf '[%s]' $(ProjName)";
    ASSERT_TRUE(ExpandToolArguments(arguments, project, {}, {}, common::CodePage::Utf8, "cmd"));
    EXPECT_EQ(ShellOutput(*CommandInterpreterRest("cmd " + arguments)),
              "[" + project.projectName + "]");
}

}  // namespace
