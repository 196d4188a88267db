// The rows of the stored settings, with each system's defaults.
#include "settingstable.h"

#include "editorchoice.h"

namespace {

// A default that differs by system: the first on Windows, the second
// elsewhere.
#ifdef _WIN32
constexpr const char* onSystem(const char* windows, const char*) {
    return windows;
}
#else
constexpr const char* onSystem(const char*, const char* others) {
    return others;
}
#endif

using S = Settings;

// Value names as stored; the order is the order of the writes, which a new
// settings file keeps.
constexpr StoredSetting kStoredSettings[] = {
    // make itself elsewhere: through "|cat -u" /bin/sh would report cat's
    // status, and a failed make would end as a success.
    {&kMainGroup, "BuildCommand", textField(&S::buildCommand, onSystem("cmd /cmake |cat -u", "make"))},
    {&kMainGroup, "RebuildCommand",
     textField(&S::rebuildCommand, onSystem("cmd /cmake clean all |cat -u", "make clean all"))},
    {&kMainGroup, "DepmillCommand", textField(&S::depmillCommand, "depmill -t1")},
    {&kMainGroup, "EditCommand", computedTextField(&S::editorCommand, DefaultEditCommand)},
    {&kMainGroup, "FoldOutput", flagField(&S::foldOutput, true)},
    {&kMainGroup, "useStatusBar", flagField(&S::useStatusBar, true)},
    {&kMainGroup, "ProjectFolder", textField(&S::projectFolder)},
    {&kMainGroup, "Window", textField(&S::windowPlacement), SavedWith::Close},
    {&kMainGroup, "FontName", textField(&S::fontName, "FixedSys")},
    {&kMainGroup, "FontSize", numberField(&S::fontSize, 11)},
    {&kMainGroup, "defaultMemorymodel", numberField(&S::defaultMemoryModel, 3)},  // large
    {&kMainGroup, "defaultObjectFolder", textField(&S::defaultObjectFolder, "obj")},
    {&kMainGroup, "OutputEncoding", numberField(&S::outputEncoding, 0)},  // automatic
    // No help file of these exists elsewhere: each starts unset until the
    // user names one.
    {&kHelpGroup, "Helpfile", textField(&S::ideHelpFile, onSystem("vantor.hlp", ""))},
    {&kHelpGroup, "Clang", textField(&S::languageHelpFile, onSystem("c:\\msvc\\help\\mscxx.hlp", ""))},
    {&kHelpGroup, "Cerror", textField(&S::errorHelpFile, onSystem("c:\\msvc\\help\\errors.hlp", ""))},
    {&kHelpGroup, "Buildtool",
     textField(&S::buildToolHelpFile, onSystem("c:\\msvc\\help\\mscopts.hlp", ""))},
    {&kHelpGroup, "Quarry", textField(&S::quarryHelpFile, onSystem("c:\\msvc\\help\\quarry.hlp", ""))},
};

}  // namespace

std::span<const StoredSetting> StoredSettings() {
    return kStoredSettings;
}
