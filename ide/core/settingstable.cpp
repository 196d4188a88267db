// The rows of the stored settings, with each system's defaults.
#include "settingstable.h"

#include "editorchoice.h"
#include "outputdecoding.h"
#include "project.h"

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

constexpr OptionControl edit(const char* name, const char* caption) {
    return {ControlKind::Edit, name, caption};
}

constexpr OptionControl checkBox(const char* name, const char* caption) {
    return {ControlKind::CheckBox, name, caption};
}

constexpr OptionControl list(const char* name, const char* caption,
                             std::span<const char* const> items, int (*shownItem)(std::int32_t)) {
    return {ControlKind::List, name, caption, items, shownItem};
}

// A stored model outside the list's items shows no selection.
int modelItem(std::int32_t model) {
    return model >= 0 && model < static_cast<std::int32_t>(kModelItemTexts.size()) ? model : -1;
}

// In OutputEncoding's order.
constexpr const char* kEncodingItems[] = {"自動", "UTF-8", "シフトJIS"};

// An unknown stored number decodes as the automatic choice, so it shows as that.
int encodingItem(std::int32_t stored) {
    return static_cast<int>(ToOutputEncoding(stored));
}

// Value names as stored; the order is the order of the writes, which a new
// settings file keeps.
constexpr StoredSetting kStoredSettings[] = {
    // make itself elsewhere: through "|cat -u" /bin/sh would report cat's
    // status, and a failed make would end as a success.
    {&kMainGroup, "BuildCommand",
     textField(&S::buildCommand, onSystem("cmd /cmake |cat -u", "make")),
     edit("buildCommand", "ビルドコマンド")},
    {&kMainGroup, "RebuildCommand",
     textField(&S::rebuildCommand, onSystem("cmd /cmake clean all |cat -u", "make clean all")),
     edit("rebuildCommand", "リビルドコマンド")},
    {&kMainGroup, "DepmillCommand", textField(&S::depmillCommand, "depmill -t1"),
     edit("depmillCommand", "依存関係チェック")},
    {&kMainGroup, "EditCommand", computedTextField(&S::editorCommand, DefaultEditCommand),
     edit("editorCommand", "エディタ")},
    {&kMainGroup, "FoldOutput", flagField(&S::foldOutput, true),
     checkBox("wrapOutput", "出力を右端で折り返す")},
    {&kMainGroup, "useStatusBar", flagField(&S::useStatusBar, true),
     checkBox("statusBar", "ステータスバーを表示する")},
    {&kMainGroup, "ProjectFolder", textField(&S::projectFolder),
     edit("startFolder", "起動時フォルダ")},
    {&kMainGroup, "Window", textField(&S::windowPlacement), {}, SavedWith::Close},
    {&kMainGroup, "FontName", textField(&S::fontName, "FixedSys")},
    {&kMainGroup, "FontSize", numberField(&S::fontSize, 11)},
    {&kMainGroup, "defaultMemorymodel", numberField(&S::defaultMemoryModel, 3),  // large
     list("memoryModel", "メモリーモデル", kModelItemTexts, modelItem)},
    {&kMainGroup, "defaultObjectFolder", textField(&S::defaultObjectFolder, "obj"),
     edit("objectFolder", "オブジェクトフォルダ")},
    {&kMainGroup, "OutputEncoding", numberField(&S::outputEncoding, 0),  // automatic
     list("outputEncoding", "出力の文字コード", kEncodingItems, encodingItem)},
    // No help file of these exists elsewhere: each starts unset until the
    // user names one.
    {&kHelpGroup, "Helpfile", textField(&S::ideHelpFile, onSystem("vantor.hlp", "")),
     edit("ideHelpFile", "ヘルプファイル")},
    {&kHelpGroup, "Clang",
     textField(&S::languageHelpFile, onSystem("c:\\msvc\\help\\mscxx.hlp", "")),
     edit("languageHelpFile", "C/C++言語ヘルプ")},
    {&kHelpGroup, "Cerror",
     textField(&S::errorHelpFile, onSystem("c:\\msvc\\help\\errors.hlp", "")),
     edit("errorHelpFile", "ビルドエラーヘルプ")},
    {&kHelpGroup, "Buildtool",
     textField(&S::buildToolHelpFile, onSystem("c:\\msvc\\help\\mscopts.hlp", "")),
     edit("buildToolHelpFile", "ビルドツールヘルプ")},
    {&kHelpGroup, "Quarry",
     textField(&S::quarryHelpFile, onSystem("c:\\msvc\\help\\quarry.hlp", "")),
     edit("quarryHelpFile", "Quarryのヘルプ")},
};

}  // namespace

std::span<const StoredSetting> StoredSettings() {
    return kStoredSettings;
}

const StoredSetting* StoredSettingNamed(std::string_view name) {
    for (const StoredSetting& row : kStoredSettings) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

std::string ControlObjectName(const OptionControl& control) {
    switch (control.kind) {
        case ControlKind::Edit:
            return std::string(control.name) + "Edit";
        case ControlKind::CheckBox:
            return std::string(control.name) + "Box";
        case ControlKind::List:
            return std::string(control.name) + "List";
        case ControlKind::Heading:
            return std::string(control.name) + "Heading";
        case ControlKind::None:
            break;
    }
    return {};
}
