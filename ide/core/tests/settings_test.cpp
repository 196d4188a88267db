// The settings operations against the user's real settings file: first
// run, defaults for values of the wrong type, the data-type error, saving,
// the tool list and the project history rules.
#include "settings.h"

#include <gtest/gtest.h>

#include "editorchoice.h"
#include "registry.h"
#include "settingsstore.h"
#include "tempconfighome.h"

using namespace settingsschema;

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    // Values written directly, as another program might have left them.
    void putText(const char* path, const std::string& name, const std::string& text) {
        RegistryAccess reg(*store);
        ASSERT_TRUE(reg.openKey(path, true));
        reg.writeString(name, text);
    }
    void putInt(const char* path, const std::string& name, int value) {
        RegistryAccess reg(*store);
        ASSERT_TRUE(reg.openKey(path, true));
        reg.writeInteger(name, value);
    }
    bool exists(const char* path, const std::string& name) {
        RegistryAccess reg(*store);
        return reg.openKey(path, false) && reg.hasValue(name);
    }
    static Tool tool(const std::string& name) {
        return Tool{name, name + ".exe", "$(Select)", "/tmp/" + name, true, false};
    }

    TempConfigHome home;
    std::unique_ptr<SettingsStore> store = CreateUserSettingsStore();
};

TEST_F(SettingsTest, FirstRunGivesDefaultsCreatesKeysAndWritesNoValue) {
    Settings reg;
    LoadSettings(reg, *store);
#ifdef _WIN32
    EXPECT_EQ(reg.buildCommand, "cmd /cmake |cat -u");
    EXPECT_EQ(reg.rebuildCommand, "cmd /cmake clean all |cat -u");
#else
    EXPECT_EQ(reg.buildCommand, "make");  // no pipe that would hide make's status
    EXPECT_EQ(reg.rebuildCommand, "make clean all");
#endif
    EXPECT_EQ(reg.depmillCommand, "depmill -t1");
    EXPECT_EQ(reg.editorCommand, DefaultEditCommand());  // the platform's editor
    EXPECT_EQ(reg.projectFolder, "");
    EXPECT_EQ(reg.windowPlacement, "");
    EXPECT_TRUE(reg.foldOutput);
    EXPECT_TRUE(reg.useStatusBar);
    EXPECT_EQ(reg.fontName, "FixedSys");
    EXPECT_EQ(reg.fontSize, 11);
    EXPECT_EQ(reg.defaultMemoryModel, 3);
    EXPECT_EQ(reg.defaultObjectFolder, "obj");
    EXPECT_EQ(reg.outputEncoding, 0);
#ifdef _WIN32
    EXPECT_EQ(reg.ideHelpFile, "vantor.hlp");
    EXPECT_EQ(reg.errorHelpFile, "c:\\msvc\\help\\errors.hlp");
    EXPECT_EQ(reg.quarryHelpFile, "c:\\msvc\\help\\quarry.hlp");
#else
    // No help file of another system: all five start unset.
    for (const auto* file : {&reg.ideHelpFile, &reg.languageHelpFile, &reg.errorHelpFile,
                             &reg.buildToolHelpFile, &reg.quarryHelpFile}) {
        EXPECT_EQ(*file, "");
    }
#endif
    for (const auto& h : reg.history) EXPECT_TRUE(h.projectName.empty() && h.projectFile.empty());

    ToolTable tools;
    EXPECT_TRUE(LoadTools(tools, *store));
    EXPECT_EQ(tools.count, 0u);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor"), 0);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor\\Help"), 0);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor\\history"), 0);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor\\Tools"), 0);

    reg.windowPlacement = "-4,-4,1032,776";
    EXPECT_TRUE(SaveAtClose(reg, *store));
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor\\history"), 40);
    EXPECT_EQ(home.countValues("Software\\Halden\\Vantor"), 1);
    RegistryAccess check(*store);
    ASSERT_TRUE(check.openKey(kHistoryKey, false));
    EXPECT_TRUE(check.hasValue("ProjectFile19"));
    EXPECT_TRUE(check.hasValue("Project0"));
    ASSERT_TRUE(check.openKey(kBaseKey, false));
    EXPECT_EQ(check.readString("Window", ""), "-4,-4,1032,776");
}

TEST_F(SettingsTest, NumbersAndFlagsOfTheWrongTypeTakeTheirDefaults) {
    putText(kBaseKey, "FontSize", "12");
    putInt(kBaseKey, "FoldOutput", 2);
    putInt(kBaseKey, "useStatusBar", 0);
    putText(kBaseKey, "defaultMemorymodel", "1");
    Settings reg;
    LoadSettings(reg, *store);
    EXPECT_EQ(reg.fontSize, 11);
    EXPECT_TRUE(reg.foldOutput);
    EXPECT_FALSE(reg.useStatusBar);
    EXPECT_EQ(reg.defaultMemoryModel, 3);
}

TEST_F(SettingsTest, DataTypeErrorIsReportedAndTheLoadGoesOn) {
    putInt(kBaseKey, "BuildCommand", 1);
    putText(kBaseKey, "RebuildCommand", "make again");
    putInt(kBaseKey, "FontName", 1);
    putText(kHelpKey, "Helpfile", "mine.hlp");
    putText(kHistoryKey, "Project0", "hello");
    putText(kHistoryKey, "ProjectFile0", "/p/makefile");
    Settings reg;
    EXPECT_EQ(LoadSettings(reg, *store),
              "'BuildCommand' のﾃﾞｰﾀ型が不正です\n'FontName' のﾃﾞｰﾀ型が不正です");
    EXPECT_EQ(reg.buildCommand, DefaultSettings().buildCommand);
    EXPECT_EQ(reg.rebuildCommand, "make again");
    EXPECT_EQ(reg.fontName, DefaultSettings().fontName);
    EXPECT_EQ(reg.fontSize, 11);
    EXPECT_TRUE(reg.foldOutput);
    EXPECT_EQ(reg.ideHelpFile, "mine.hlp");
    EXPECT_EQ(reg.history[0].projectName, "hello");

    // Options confirmed and the next close keep everything that was read.
    EXPECT_TRUE(SaveOptions(reg, *store));
    EXPECT_TRUE(SaveAtClose(reg, *store));
    Settings again;
    EXPECT_EQ(LoadSettings(again, *CreateUserSettingsStore()), "");
    EXPECT_EQ(again.rebuildCommand, "make again");
    EXPECT_EQ(again.ideHelpFile, "mine.hlp");
    EXPECT_EQ(again.history[0].projectFile, "/p/makefile");
}

TEST_F(SettingsTest, GroupsThatWereNeverReadAreNeverWritten) {
    putText(kBaseKey, "BuildCommand", "make");
    putText(kHistoryKey, "Project0", "hello");
    putText(kHistoryKey, "ProjectFile0", "/p/makefile");
    Settings unread;  // a load that found the store unreadable leaves this
    unread.windowPlacement = "1,2,3,4";
    EXPECT_TRUE(SaveOptions(unread, *store));
    EXPECT_TRUE(SaveAtClose(unread, *store));
    Settings reg;
    LoadSettings(reg, *store);
    EXPECT_EQ(reg.buildCommand, "make");
    EXPECT_EQ(reg.history[0].projectName, "hello");
    EXPECT_EQ(reg.windowPlacement, "1,2,3,4");  // the placement is the window's own, never read
}

TEST_F(SettingsTest, OptionsAndHistorySurviveIntoAnotherStore) {
    Settings saved;
    LoadSettings(saved, *store);
    saved.buildCommand = "make -C \"dir\" 2>&1";
    saved.foldOutput = false;
    saved.fontName = "ＭＳ ゴシック";
    saved.fontSize = -9;
    saved.quarryHelpFile = "c:\\help\\q.hlp";
    saved.defaultObjectFolder = "";
    saved.outputEncoding = 2;
    saved.windowPlacement = "1,2,3,4";
    AddHistory(saved, "プロジェクト", "/home/u/p/makefile");
    EXPECT_TRUE(SaveOptions(saved, *store));

    Settings loaded;
    LoadSettings(loaded, *CreateUserSettingsStore());
    EXPECT_EQ(loaded.buildCommand, saved.buildCommand);
    EXPECT_FALSE(loaded.foldOutput);
    EXPECT_EQ(loaded.fontName, saved.fontName);
    EXPECT_EQ(loaded.fontSize, -9);
    EXPECT_EQ(loaded.quarryHelpFile, saved.quarryHelpFile);
    EXPECT_EQ(loaded.defaultObjectFolder, "");
    EXPECT_EQ(loaded.outputEncoding, 2);
    EXPECT_EQ(loaded.windowPlacement, "");         // only written at close
    EXPECT_EQ(loaded.history[0].projectName, "");  // likewise

    EXPECT_TRUE(SaveAtClose(saved, *store));
    LoadSettings(loaded, *CreateUserSettingsStore());
    EXPECT_EQ(loaded.windowPlacement, "1,2,3,4");
    EXPECT_EQ(loaded.history[0].projectName, "プロジェクト");
    EXPECT_EQ(loaded.history[0].projectFile, "/home/u/p/makefile");
}

TEST_F(SettingsTest, SavesReportWhatCouldNotBeKept) {
#ifdef _WIN32
    GTEST_SKIP() << "the registry of one user cannot be made to refuse a write";
#endif
    std::ofstream(home.root() / "vantor") << "a file where the folder belongs";
    Settings reg;
    LoadSettings(reg, *store);
    EXPECT_EQ(reg.fontSize, 11);
    EXPECT_FALSE(SaveOptions(reg, *store));
    EXPECT_FALSE(SaveAtClose(reg, *store));
    ToolTable tools;
    tools.tools[0] = tool("a");
    tools.count = 1;
    EXPECT_FALSE(SaveTool(tools.tools[0], 0, *store));
    EXPECT_FALSE(SaveTools(tools, *store));
}

TEST_F(SettingsTest, ShrinkingTheToolListDeletesTheStaleIndices) {
    ToolTable tools;
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
    ToolTable loaded;
    LoadTools(loaded, *CreateUserSettingsStore());
    ASSERT_EQ(loaded.count, 3u);
    EXPECT_EQ(loaded.tools[0].name, "first");
    EXPECT_EQ(loaded.tools[0].arguments, "$(Select)");
    EXPECT_EQ(loaded.tools[0].folder, "/tmp/first");
    EXPECT_TRUE(loaded.tools[0].captureOutput);
    EXPECT_FALSE(loaded.tools[0].minimised);
    EXPECT_EQ(loaded.tools[2].command, "t2.exe");
}

TEST_F(SettingsTest, ToolsWithoutNameOrCommandAreSkippedAndRenumberedOnSave) {
    ToolTable tools;
    for (int i = 0; i < 4; ++i) tools.tools[i] = tool("t" + std::to_string(i));
    tools.count = 4;
    SaveTools(tools, *store);
    putText(kToolsKey, "Name1", "");
    putText(kToolsKey, "Command3", "");
    putInt(kToolsKey, "NumTools", 4);

    ToolTable loaded;
    loaded.tools[5] = tool("leftover");
    LoadTools(loaded, *store);
    ASSERT_EQ(loaded.count, 2u);
    EXPECT_EQ(loaded.tools[0].name, "t0");
    EXPECT_EQ(loaded.tools[1].name, "t2");
    EXPECT_EQ(loaded.tools[2].name, "");  // the skipped last entry left nothing
    EXPECT_EQ(loaded.tools[5].name, "");

    SaveTools(loaded, *store);
    EXPECT_EQ(ReadToolCount(*store), 2);
    EXPECT_FALSE(exists(kToolsKey, "Name2"));
    EXPECT_FALSE(exists(kToolsKey, "Iconed3"));
    RegistryAccess reg(*store);
    ASSERT_TRUE(reg.openKey(kToolsKey, false));
    EXPECT_EQ(reg.readString("Name1", ""), "t2");
}

TEST_F(SettingsTest, ManyStoredToolsNeverOverrunTheTwentySlots) {
    for (int i = 0; i < 30; ++i) {
        SaveTool(tool("t" + std::to_string(i)), static_cast<std::size_t>(i), *store);
    }
    putInt(kToolsKey, "NumTools", 50);
    ToolTable loaded;
    EXPECT_TRUE(LoadTools(loaded, *store));
    ASSERT_EQ(loaded.count, kMaxTools);
    EXPECT_EQ(loaded.tools[19].name, "t19");

    // A negative or unreadable count is no tool at all.
    putInt(kToolsKey, "NumTools", -1);
    LoadTools(loaded, *store);
    EXPECT_EQ(loaded.count, 0u);
    EXPECT_EQ(loaded.tools[0].name, "");
    putText(kToolsKey, "NumTools", "3");
    EXPECT_EQ(ReadToolCount(*store), 0);
}

TEST_F(SettingsTest, ToolValueOfAWrongTextTypeIsReportedAndReadsEmpty) {
    SaveTool(tool("a"), 0, *store);
    SaveTool(tool("b"), 1, *store);
    putInt(kToolsKey, "NumTools", 2);
    putInt(kToolsKey, "Folder0", 1);
    putInt(kToolsKey, "Command1", 1);
    ToolTable loaded;
    LoadErrors errors;
    EXPECT_TRUE(LoadTools(loaded, *store, &errors));
    EXPECT_EQ(errors, "'Folder0' のﾃﾞｰﾀ型が不正です\n'Command1' のﾃﾞｰﾀ型が不正です");
    ASSERT_EQ(loaded.count, 1u);
    EXPECT_EQ(loaded.tools[0].name, "a");
    EXPECT_EQ(loaded.tools[0].folder, "");
}

TEST_F(SettingsTest, AbsurdToolCountReadsAndDeletesNoMoreThanTheTwentySlots) {
    SaveTool(tool("a"), 0, *store);
    putInt(kToolsKey, "NumTools", 2147483647);
    EXPECT_EQ(ReadToolCount(*store), 20);
    ToolTable loaded;
    EXPECT_TRUE(LoadTools(loaded, *store));
    ASSERT_EQ(loaded.count, 1u);
    EXPECT_TRUE(SaveTools(loaded, *store));
    EXPECT_EQ(ReadToolCount(*store), 1);
    EXPECT_TRUE(exists(kToolsKey, "Name0"));
}

TEST_F(SettingsTest, MessageFormsAreStoredLikeTheTools) {
    std::vector<UserMessageForm> forms = {
        {"lcc", "%f %l: %t: %m"}, {"a|b", "%f|%l: %m"}, {"three", "x %f(%l)"}};
    EXPECT_TRUE(SaveMessageForms(forms, *store));
    std::vector<UserMessageForm> loaded;
    EXPECT_TRUE(LoadMessageForms(loaded, *CreateUserSettingsStore()));
    // A "|" in a caption cannot survive: the first one ends the caption.
    EXPECT_EQ(loaded, (std::vector<UserMessageForm>{
                          {"lcc", "%f %l: %t: %m"}, {"a/b", "%f|%l: %m"}, {"three", "x %f(%l)"}}));

    forms.resize(1);
    EXPECT_TRUE(SaveMessageForms(forms, *store));
    EXPECT_TRUE(exists(kMessageFormsKey, "Form0"));
    EXPECT_FALSE(exists(kMessageFormsKey, "Form1"));
    EXPECT_FALSE(exists(kMessageFormsKey, "Form2"));
    LoadMessageForms(loaded, *CreateUserSettingsStore());
    EXPECT_EQ(loaded, forms);
}

TEST_F(SettingsTest, StoredFormsThatCannotBeReadAreSkippedAndReported) {
    putInt(kMessageFormsKey, "Count", 4);
    putText(kMessageFormsKey, "Form0", "no bar here");
    putInt(kMessageFormsKey, "Form1", 7);
    putText(kMessageFormsKey, "Form2", "kept|%f(%l): %m");
    putInt(kMessageFormsKey, "Count", 100000);  // no more than kMaxMessageForms are read
    std::vector<UserMessageForm> loaded;
    LoadErrors errors;
    EXPECT_TRUE(LoadMessageForms(loaded, *store, &errors));
    EXPECT_EQ(errors, "'Form0' に「|」がありません\n'Form1' のﾃﾞｰﾀ型が不正です");
    EXPECT_EQ(loaded, (std::vector<UserMessageForm>{{"kept", "%f(%l): %m"}}));
}

TEST_F(SettingsTest, AddHistoryMovesOrAddsToTheHead) {
    Settings reg;
    for (int i = 0; i < 20; ++i) {
        AddHistory(reg, "p" + std::to_string(i), "/p" + std::to_string(i) + "/makefile");
    }
    EXPECT_EQ(reg.history[0].projectName, "p19");
    EXPECT_EQ(reg.history[19].projectName, "p0");

    // The 21st distinct project drops entry 19.
    AddHistory(reg, "p20", "/p20/makefile");
    EXPECT_EQ(reg.history[0].projectName, "p20");
    EXPECT_EQ(reg.history[1].projectName, "p19");
    EXPECT_EQ(reg.history[19].projectName, "p1");

    // The head again, its name in other letters: nothing changes.
    AddHistory(reg, "P20", "/p20/makefile");
    EXPECT_EQ(reg.history[0].projectName, "p20");
    EXPECT_EQ(reg.history[0].projectFile, "/p20/makefile");
    EXPECT_EQ(reg.history[1].projectName, "p19");

    // Position 5 in other letters moves to the head with its new spelling.
    const Settings before = reg;
    AddHistory(reg, "P15", "/p15/makefile");
    EXPECT_EQ(reg.history[0].projectName, "P15");
    EXPECT_EQ(reg.history[0].projectFile, "/p15/makefile");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(reg.history[i + 1].projectName, before.history[i].projectName);
    for (int i = 6; i < 20; ++i)
        EXPECT_EQ(reg.history[i].projectName, before.history[i].projectName);

    // Same name in another folder is another project; empty texts never count.
    AddHistory(reg, "P15", "/elsewhere/makefile");
    EXPECT_EQ(reg.history[1].projectFile, "/p15/makefile");
    const Settings unchanged = reg;
    AddHistory(reg, "", "/x/makefile");
    AddHistory(reg, "x", "");
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(reg.history[i].projectName, unchanged.history[i].projectName);
}

TEST_F(SettingsTest, AddHistoryFoldsOnlyAsciiLettersOfTheCodePage) {
    // Shift-JIS "ア" is 83 41: its trail byte is no letter A.
    const std::string a = "\x83\x41", other = "\x83\x61";
    Settings reg;
    AddHistory(reg, a, "c:\\x\\makefile", common::CodePage::ShiftJis);
    AddHistory(reg, other, "c:\\x\\makefile", common::CodePage::ShiftJis);
    EXPECT_EQ(reg.history[0].projectName, other);
    EXPECT_EQ(reg.history[1].projectName, a);
    AddHistory(reg, a, "c:\\x\\makefile", common::CodePage::ShiftJis);
    EXPECT_EQ(reg.history[0].projectName, a);
    EXPECT_EQ(reg.history[1].projectName, other);
    EXPECT_EQ(reg.history[2].projectName, "");
}

// Paths compare as the file system does: exactly on Linux, letter case
// aside on Windows.
TEST_F(SettingsTest, MakefilePathsCompareAsTheFileSystemDoes) {
#ifdef _WIN32
    constexpr bool kCaseMatters = false;
#else
    constexpr bool kCaseMatters = true;
#endif
    Settings reg;
    AddHistory(reg, "hello", "/w/hello/makefile");
    AddHistory(reg, "hello", "/w/hello/Makefile");
    // The same file moves to the head under the name it was added with first.
    EXPECT_EQ(reg.history[0].projectFile, kCaseMatters ? "/w/hello/Makefile" : "/w/hello/makefile");
    EXPECT_EQ(reg.history[1].projectFile, kCaseMatters ? "/w/hello/makefile" : "");
    EXPECT_EQ(SameProjectFile("/w/a/makefile", "/w/A/makefile"), !kCaseMatters);
    EXPECT_TRUE(SameProjectFile("/w/a/makefile", "/w/a/makefile"));
}

}  // namespace
