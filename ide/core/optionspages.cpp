// The options dialog's edit pages and the lines on each.
#include "optionspages.h"

namespace {

constexpr OptionsLine kSettingsLines[] = {
    {"ProjectFolder"},
    {"useStatusBar"},
    {"FoldOutput"},
    // Never stored: every start begins without it.
    {nullptr, {ControlKind::CheckBox, "debugMode", "IDE自体をデバッグモードで動かす"}},
    {"OutputEncoding"},
};

constexpr OptionsLine kProjectDefaultsLines[] = {
    {nullptr, {ControlKind::Heading, "projectDefaults", "プロジェクトのデフォルト設定"}},
    {"defaultMemorymodel"},
    {"defaultObjectFolder"},
};

constexpr OptionsLine kCommandsLines[] = {
    {"BuildCommand"},
    {"RebuildCommand"},
    {"DepmillCommand"},
    {"EditCommand"},
};

constexpr OptionsLine kHelpFilesLines[] = {
    {"Helpfile"}, {"Clang"}, {"Cerror"}, {"Buildtool"}, {"Quarry"},
};

constexpr OptionsPage kOptionsPages[] = {
    {"settingsPage", "設定", kSettingsLines},
    {"projectDefaultsPage", "C/C++", kProjectDefaultsLines},
    {"commandsPage", "コマンド", kCommandsLines},
    {"helpFilesPage", "ヘルプファイル", kHelpFilesLines},
};

}  // namespace

std::span<const OptionsPage> OptionsPages() {
    return kOptionsPages;
}

const StoredSetting* SettingOf(const OptionsLine& line) {
    return line.setting != nullptr ? StoredSettingNamed(line.setting) : nullptr;
}

const OptionControl& ControlOf(const OptionsLine& line) {
    const StoredSetting* row = SettingOf(line);
    return row != nullptr ? row->control : line.own;
}
