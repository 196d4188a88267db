// The settings operations against the user's real settings file: first
// run, defaults for values of the wrong type, the data-type error, saving,
// the tool list and the project history rules.
#include "regist.h"

#include <gtest/gtest.h>

#include "editorchoice.h"
#include "registry.h"
#include "tempconfighome.h"
#include "usersettingsstore.h"

using namespace regschema;

namespace {

class RegistTest : public ::testing::Test {
  protected:
    // Values written directly, as another program might have left them.
    void putText(const char* path, const std::string& name, const std::string& text) {
        nTRegistry reg(*store);
        ASSERT_TRUE(reg.OpenKey(path, true));
        reg.WriteString(name, text);
    }
    void putInt(const char* path, const std::string& name, int value) {
        nTRegistry reg(*store);
        ASSERT_TRUE(reg.OpenKey(path, true));
        reg.WriteInteger(name, value);
    }
    bool exists(const char* path, const std::string& name) {
        nTRegistry reg(*store);
        return reg.OpenKey(path, false) && reg.ValueExists(name);
    }
    static toolopt tool(const std::string& name) {
        return toolopt{name, name + ".exe", "$(Select)", "/tmp/" + name, true, false};
    }

    TempConfigHome home;
    std::unique_ptr<SettingsStore> store = openUserSettingsStore();
};

TEST_F(RegistTest, FirstRunGivesDefaultsCreatesKeysAndWritesNoValue) {
    TREGIST reg;
    LoadSettings(reg, *store);
#ifdef _WIN32
    EXPECT_EQ(reg.BuildCommand, "cmd /cmake |cat -u");
    EXPECT_EQ(reg.RebuildCommand, "cmd /cmake clean all |cat -u");
#else
    EXPECT_EQ(reg.BuildCommand, "make");  // no pipe that would hide make's status
    EXPECT_EQ(reg.RebuildCommand, "make clean all");
#endif
    EXPECT_EQ(reg.DepmillCommand, "depmill -t1");
    EXPECT_EQ(reg.EditCommand, DefaultEditCommand());  // the platform's editor
    EXPECT_EQ(reg.ProjectFolder, "");
    EXPECT_EQ(reg.Window, "");
    EXPECT_TRUE(reg.FoldOutput);
    EXPECT_TRUE(reg.useStatusBar);
    EXPECT_EQ(reg.FontName, "FixedSys");
    EXPECT_EQ(reg.FontSize, 11);
    EXPECT_EQ(reg.defaultMemorymodel, 3);
    EXPECT_EQ(reg.defaultObjectFolder, "obj");
    EXPECT_EQ(reg.OutputEncoding, 0);
#ifdef _WIN32
    EXPECT_EQ(reg.Helpfile, "vantor.hlp");
    EXPECT_EQ(reg.Cerror, "c:\\msvc\\help\\errors.hlp");
    EXPECT_EQ(reg.Quarry, "c:\\msvc\\help\\quarry.hlp");
#else
    // No help file of another system: all five start unset.
    for (const auto* file : {&reg.Helpfile, &reg.Clang, &reg.Cerror, &reg.Buildtool, &reg.Quarry}) {
        EXPECT_EQ(*file, "");
    }
#endif
    for (const auto& h : reg.history) EXPECT_TRUE(h.Project.empty() && h.ProjectFile.empty());

    tooloptions tools;
    EXPECT_TRUE(LoadTools(tools, *store));
    EXPECT_EQ(tools.count, 0u);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor"), 0);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor\\Help"), 0);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor\\history"), 0);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor\\Tools"), 0);

    reg.Window = "-4,-4,1032,776";
    EXPECT_TRUE(SaveAtClose(reg, *store));
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor\\history"), 40);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor"), 1);
    nTRegistry check(*store);
    ASSERT_TRUE(check.OpenKey(kHistoryKey, false));
    EXPECT_TRUE(check.ValueExists("ProjectFile19"));
    EXPECT_TRUE(check.ValueExists("Project0"));
    ASSERT_TRUE(check.OpenKey(kBaseKey, false));
    EXPECT_EQ(check.ReadString("Window", ""), "-4,-4,1032,776");
}

TEST_F(RegistTest, NumbersAndFlagsOfTheWrongTypeTakeTheirDefaults) {
    putText(kBaseKey, "FontSize", "12");
    putInt(kBaseKey, "FoldOutput", 2);
    putInt(kBaseKey, "useStatusBar", 0);
    putText(kBaseKey, "defaultMemorymodel", "1");
    TREGIST reg;
    LoadSettings(reg, *store);
    EXPECT_EQ(reg.FontSize, 11);
    EXPECT_TRUE(reg.FoldOutput);
    EXPECT_FALSE(reg.useStatusBar);
    EXPECT_EQ(reg.defaultMemorymodel, 3);
}

TEST_F(RegistTest, DataTypeErrorIsReportedAndTheLoadGoesOn) {
    putInt(kBaseKey, "BuildCommand", 1);
    putText(kBaseKey, "RebuildCommand", "make again");
    putInt(kBaseKey, "FontName", 1);
    putText(kHelpKey, "Helpfile", "mine.hlp");
    putText(kHistoryKey, "Project0", "hello");
    putText(kHistoryKey, "ProjectFile0", "/p/makefile");
    TREGIST reg;
    EXPECT_EQ(LoadSettings(reg, *store),
              "'BuildCommand' のﾃﾞｰﾀ型が不正です\n'FontName' のﾃﾞｰﾀ型が不正です");
    EXPECT_EQ(reg.BuildCommand, kDefBuildCommand);
    EXPECT_EQ(reg.RebuildCommand, "make again");
    EXPECT_EQ(reg.FontName, kDefFontName);
    EXPECT_EQ(reg.FontSize, 11);
    EXPECT_TRUE(reg.FoldOutput);
    EXPECT_EQ(reg.Helpfile, "mine.hlp");
    EXPECT_EQ(reg.history[0].Project, "hello");

    // Options confirmed and the next close keep everything that was read.
    EXPECT_TRUE(SaveOptions(reg, *store));
    EXPECT_TRUE(SaveAtClose(reg, *store));
    TREGIST again;
    EXPECT_EQ(LoadSettings(again, *openUserSettingsStore()), "");
    EXPECT_EQ(again.RebuildCommand, "make again");
    EXPECT_EQ(again.Helpfile, "mine.hlp");
    EXPECT_EQ(again.history[0].ProjectFile, "/p/makefile");
}

TEST_F(RegistTest, GroupsThatWereNeverReadAreNeverWritten) {
    putText(kBaseKey, "BuildCommand", "make");
    putText(kHistoryKey, "Project0", "hello");
    putText(kHistoryKey, "ProjectFile0", "/p/makefile");
    TREGIST unread;  // a load that found the store unreadable leaves this
    unread.Window = "1,2,3,4";
    EXPECT_TRUE(SaveOptions(unread, *store));
    EXPECT_TRUE(SaveAtClose(unread, *store));
    TREGIST reg;
    LoadSettings(reg, *store);
    EXPECT_EQ(reg.BuildCommand, "make");
    EXPECT_EQ(reg.history[0].Project, "hello");
    EXPECT_EQ(reg.Window, "1,2,3,4");  // the placement is the window's own, never read
}

TEST_F(RegistTest, OptionsAndHistorySurviveIntoAnotherStore) {
    TREGIST saved;
    LoadSettings(saved, *store);
    saved.BuildCommand = "make -C \"dir\" 2>&1";
    saved.FoldOutput = false;
    saved.FontName = "ＭＳ ゴシック";
    saved.FontSize = -9;
    saved.Quarry = "c:\\help\\q.hlp";
    saved.defaultObjectFolder = "";
    saved.OutputEncoding = 2;
    saved.Window = "1,2,3,4";
    AddHistory(saved, "プロジェクト", "/home/u/p/makefile");
    EXPECT_TRUE(SaveOptions(saved, *store));

    TREGIST loaded;
    LoadSettings(loaded, *openUserSettingsStore());
    EXPECT_EQ(loaded.BuildCommand, saved.BuildCommand);
    EXPECT_FALSE(loaded.FoldOutput);
    EXPECT_EQ(loaded.FontName, saved.FontName);
    EXPECT_EQ(loaded.FontSize, -9);
    EXPECT_EQ(loaded.Quarry, saved.Quarry);
    EXPECT_EQ(loaded.defaultObjectFolder, "");
    EXPECT_EQ(loaded.OutputEncoding, 2);
    EXPECT_EQ(loaded.Window, "");              // only written at close
    EXPECT_EQ(loaded.history[0].Project, "");  // likewise

    EXPECT_TRUE(SaveAtClose(saved, *store));
    LoadSettings(loaded, *openUserSettingsStore());
    EXPECT_EQ(loaded.Window, "1,2,3,4");
    EXPECT_EQ(loaded.history[0].Project, "プロジェクト");
    EXPECT_EQ(loaded.history[0].ProjectFile, "/home/u/p/makefile");
}

TEST_F(RegistTest, SavesReportWhatCouldNotBeKept) {
#ifdef _WIN32
    GTEST_SKIP() << "the registry of one user cannot be made to refuse a write";
#endif
    std::ofstream(home.root() / "vantor") << "a file where the folder belongs";
    TREGIST reg;
    LoadSettings(reg, *store);
    EXPECT_EQ(reg.FontSize, 11);
    EXPECT_FALSE(SaveOptions(reg, *store));
    EXPECT_FALSE(SaveAtClose(reg, *store));
    tooloptions tools;
    tools.tools[0] = tool("a");
    tools.count = 1;
    EXPECT_FALSE(SaveTool(tools.tools[0], 0, *store));
    EXPECT_FALSE(SaveTools(tools, *store));
}

TEST_F(RegistTest, ShrinkingTheToolListDeletesTheStaleIndices) {
    tooloptions tools;
    for (int i = 0; i < 5; ++i) tools.tools[i] = tool("t" + std::to_string(i));
    tools.count = 5;
    EXPECT_TRUE(SaveTools(tools, *store));
    EXPECT_EQ(ReadToolCount(*store), 5);

    tools.tools[0] = tool("first");
    tools.count = 3;
    EXPECT_TRUE(SaveTools(tools, *store));
    EXPECT_EQ(ReadToolCount(*store), 3);
    for (const char* prefix :
         {"Name", "Command", "Arguments", "Folder", "OutputRedirect", "Iconed"}) {
        EXPECT_TRUE(exists(kToolsKey, indexedName(prefix, 2))) << prefix;
        EXPECT_FALSE(exists(kToolsKey, indexedName(prefix, 3))) << prefix;
        EXPECT_FALSE(exists(kToolsKey, indexedName(prefix, 4))) << prefix;
    }
    tooloptions loaded;
    LoadTools(loaded, *openUserSettingsStore());
    ASSERT_EQ(loaded.count, 3u);
    EXPECT_EQ(loaded.tools[0].Name, "first");
    EXPECT_EQ(loaded.tools[0].Arguments, "$(Select)");
    EXPECT_EQ(loaded.tools[0].Folder, "/tmp/first");
    EXPECT_TRUE(loaded.tools[0].OutputRedirect);
    EXPECT_FALSE(loaded.tools[0].Iconed);
    EXPECT_EQ(loaded.tools[2].Command, "t2.exe");
}

TEST_F(RegistTest, ToolsWithoutNameOrCommandAreSkippedAndRenumberedOnSave) {
    tooloptions tools;
    for (int i = 0; i < 4; ++i) tools.tools[i] = tool("t" + std::to_string(i));
    tools.count = 4;
    SaveTools(tools, *store);
    putText(kToolsKey, "Name1", "");
    putText(kToolsKey, "Command3", "");
    putInt(kToolsKey, "NumTools", 4);

    tooloptions loaded;
    loaded.tools[5] = tool("leftover");
    LoadTools(loaded, *store);
    ASSERT_EQ(loaded.count, 2u);
    EXPECT_EQ(loaded.tools[0].Name, "t0");
    EXPECT_EQ(loaded.tools[1].Name, "t2");
    EXPECT_EQ(loaded.tools[2].Name, "");  // the skipped last entry left nothing
    EXPECT_EQ(loaded.tools[5].Name, "");

    SaveTools(loaded, *store);
    EXPECT_EQ(ReadToolCount(*store), 2);
    EXPECT_FALSE(exists(kToolsKey, "Name2"));
    EXPECT_FALSE(exists(kToolsKey, "Iconed3"));
    nTRegistry reg(*store);
    ASSERT_TRUE(reg.OpenKey(kToolsKey, false));
    EXPECT_EQ(reg.ReadString("Name1", ""), "t2");
}

TEST_F(RegistTest, ManyStoredToolsNeverOverrunTheTwentySlots) {
    for (int i = 0; i < 30; ++i) {
        SaveTool(tool("t" + std::to_string(i)), static_cast<std::size_t>(i), *store);
    }
    putInt(kToolsKey, "NumTools", 50);
    tooloptions loaded;
    EXPECT_TRUE(LoadTools(loaded, *store));
    ASSERT_EQ(loaded.count, kMaxTools);
    EXPECT_EQ(loaded.tools[19].Name, "t19");

    // A negative or unreadable count is no tool at all.
    putInt(kToolsKey, "NumTools", -1);
    LoadTools(loaded, *store);
    EXPECT_EQ(loaded.count, 0u);
    EXPECT_EQ(loaded.tools[0].Name, "");
    putText(kToolsKey, "NumTools", "3");
    EXPECT_EQ(ReadToolCount(*store), 0);
}

TEST_F(RegistTest, ToolValueOfAWrongTextTypeIsReportedAndReadsEmpty) {
    SaveTool(tool("a"), 0, *store);
    SaveTool(tool("b"), 1, *store);
    putInt(kToolsKey, "NumTools", 2);
    putInt(kToolsKey, "Folder0", 1);
    putInt(kToolsKey, "Command1", 1);
    tooloptions loaded;
    LoadErrors errors;
    EXPECT_TRUE(LoadTools(loaded, *store, &errors));
    EXPECT_EQ(errors, "'Folder0' のﾃﾞｰﾀ型が不正です\n'Command1' のﾃﾞｰﾀ型が不正です");
    ASSERT_EQ(loaded.count, 1u);
    EXPECT_EQ(loaded.tools[0].Name, "a");
    EXPECT_EQ(loaded.tools[0].Folder, "");
}

TEST_F(RegistTest, AbsurdToolCountReadsAndDeletesNoMoreThanTheTwentySlots) {
    SaveTool(tool("a"), 0, *store);
    putInt(kToolsKey, "NumTools", 2147483647);
    EXPECT_EQ(ReadToolCount(*store), 20);
    tooloptions loaded;
    EXPECT_TRUE(LoadTools(loaded, *store));
    ASSERT_EQ(loaded.count, 1u);
    EXPECT_TRUE(SaveTools(loaded, *store));
    EXPECT_EQ(ReadToolCount(*store), 1);
    EXPECT_TRUE(exists(kToolsKey, "Name0"));
}

TEST_F(RegistTest, AddHistoryMovesOrAddsToTheHead) {
    TREGIST reg;
    for (int i = 0; i < 20; ++i) {
        AddHistory(reg, "p" + std::to_string(i), "/p" + std::to_string(i) + "/makefile");
    }
    EXPECT_EQ(reg.history[0].Project, "p19");
    EXPECT_EQ(reg.history[19].Project, "p0");

    // The 21st distinct project drops entry 19.
    AddHistory(reg, "p20", "/p20/makefile");
    EXPECT_EQ(reg.history[0].Project, "p20");
    EXPECT_EQ(reg.history[1].Project, "p19");
    EXPECT_EQ(reg.history[19].Project, "p1");

    // The head again, its name in other letters: nothing changes.
    AddHistory(reg, "P20", "/p20/makefile");
    EXPECT_EQ(reg.history[0].Project, "p20");
    EXPECT_EQ(reg.history[0].ProjectFile, "/p20/makefile");
    EXPECT_EQ(reg.history[1].Project, "p19");

    // Position 5 in other letters moves to the head with its new spelling.
    const TREGIST before = reg;
    AddHistory(reg, "P15", "/p15/makefile");
    EXPECT_EQ(reg.history[0].Project, "P15");
    EXPECT_EQ(reg.history[0].ProjectFile, "/p15/makefile");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(reg.history[i + 1].Project, before.history[i].Project);
    for (int i = 6; i < 20; ++i) EXPECT_EQ(reg.history[i].Project, before.history[i].Project);

    // Same name in another folder is another project; empty texts never count.
    AddHistory(reg, "P15", "/elsewhere/makefile");
    EXPECT_EQ(reg.history[1].ProjectFile, "/p15/makefile");
    const TREGIST unchanged = reg;
    AddHistory(reg, "", "/x/makefile");
    AddHistory(reg, "x", "");
    for (int i = 0; i < 20; ++i) EXPECT_EQ(reg.history[i].Project, unchanged.history[i].Project);
}

TEST_F(RegistTest, AddHistoryFoldsOnlyAsciiLettersOfTheCodePage) {
    // Shift-JIS "ア" is 83 41: its trail byte is no letter A.
    const std::string a = "\x83\x41", other = "\x83\x61";
    TREGIST reg;
    AddHistory(reg, a, "c:\\x\\makefile", common::CodePage::ShiftJis);
    AddHistory(reg, other, "c:\\x\\makefile", common::CodePage::ShiftJis);
    EXPECT_EQ(reg.history[0].Project, other);
    EXPECT_EQ(reg.history[1].Project, a);
    AddHistory(reg, a, "c:\\x\\makefile", common::CodePage::ShiftJis);
    EXPECT_EQ(reg.history[0].Project, a);
    EXPECT_EQ(reg.history[1].Project, other);
    EXPECT_EQ(reg.history[2].Project, "");
}

// Paths compare as the file system does: exactly on Linux, letter case
// aside on Windows.
TEST_F(RegistTest, MakefilePathsCompareAsTheFileSystemDoes) {
#ifdef _WIN32
    constexpr bool kCaseMatters = false;
#else
    constexpr bool kCaseMatters = true;
#endif
    TREGIST reg;
    AddHistory(reg, "hello", "/w/hello/makefile");
    AddHistory(reg, "hello", "/w/hello/Makefile");
    // The same file moves to the head under the name it was added with first.
    EXPECT_EQ(reg.history[0].ProjectFile, kCaseMatters ? "/w/hello/Makefile" : "/w/hello/makefile");
    EXPECT_EQ(reg.history[1].ProjectFile, kCaseMatters ? "/w/hello/makefile" : "");
    EXPECT_EQ(SameProjectFile("/w/a/makefile", "/w/A/makefile"), !kCaseMatters);
    EXPECT_TRUE(SameProjectFile("/w/a/makefile", "/w/a/makefile"));
}

}  // namespace
