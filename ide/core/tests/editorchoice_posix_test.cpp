// The editor of a fresh settings file, chosen among stand-in programs on a
// search path of temporary folders: list order, executable files only, the
// opener as fallback; through LoadSettings with $PATH, a stored command wins.
#include "editorchoice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "settings.h"
#include "settingsstore.h"
#include "tempconfighome.h"
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

// A stand-in program: a script that does nothing.
void putProgram(const fs::path& folder, const std::string& name,
                fs::perms perms = fs::perms::owner_all) {
    const fs::path file = folder / name;
    std::ofstream(file) << "#!/bin/sh\nexit 0\n";
    fs::permissions(file, perms);
}

struct EditorChoiceTest : ::testing::Test {
    TempFolder first;
    TempFolder second;
    std::string searchPath() const { return first.path().string() + ":" + second.path().string(); }
};

TEST_F(EditorChoiceTest, TheListOrderWinsOverThePathOrder) {
    putProgram(first.path(), "code");
    putProgram(second.path(), "kate");
    EXPECT_EQ(FirstInstalledEditCommand(searchPath()), "kate --line %n %s");
    putProgram(second.path(), "gedit");
    EXPECT_EQ(FirstInstalledEditCommand(searchPath()), "gedit +%n %s");
}

TEST_F(EditorChoiceTest, EachEditorComesWithItsOwnLineSyntax) {
    putProgram(second.path(), "code");
    EXPECT_EQ(FirstInstalledEditCommand(searchPath()), "code -g %s:%n");
    putProgram(first.path(), "geany");
    EXPECT_EQ(FirstInstalledEditCommand(searchPath()), "geany +%n %s");
}

TEST_F(EditorChoiceTest, OnlyExecutableFilesCount) {
    putProgram(first.path(), "gedit", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directory(first.path() / "kate");
    fs::create_symlink(first.path() / "missing", first.path() / "geany");
    EXPECT_EQ(FirstInstalledEditCommand(searchPath()), "xdg-open %s");
    putProgram(second.path(), "pluma", fs::perms::owner_read | fs::perms::others_exec);
    EXPECT_EQ(FirstInstalledEditCommand(searchPath()), "pluma +%n %s");
}

TEST_F(EditorChoiceTest, WithoutAnyEditorTheDesktopsOpenerIsTaken) {
    EXPECT_EQ(FirstInstalledEditCommand(""), "xdg-open %s");
    EXPECT_EQ(FirstInstalledEditCommand("::"), "xdg-open %s");
    EXPECT_EQ(FirstInstalledEditCommand(searchPath()), "xdg-open %s");
}

// $PATH set for one test and restored afterwards.
class ScopedPath {
  public:
    explicit ScopedPath(const std::string& value) {
        if (const char* old = std::getenv("PATH")) old_ = old;
        setenv("PATH", value.c_str(), 1);
    }
    ~ScopedPath() { setenv("PATH", old_.c_str(), 1); }

  private:
    std::string old_;
};

TEST_F(EditorChoiceTest, AFreshSettingsFileGetsTheInstalledEditorAndAStoredOneStays) {
    TempConfigHome home;
    const auto store = CreateUserSettingsStore();
    putProgram(second.path(), "geany");
    ScopedPath path(searchPath());
    Settings fresh;
    LoadSettings(fresh, *store);
    EXPECT_EQ(fresh.editorCommand, "geany +%n %s");

    fresh.editorCommand = "vi +%n %s";
    ASSERT_TRUE(SaveOptions(fresh, *store));
    putProgram(first.path(), "gedit");
    Settings again;
    LoadSettings(again, *store);
    EXPECT_EQ(again.editorCommand, "vi +%n %s");
}

}  // namespace
