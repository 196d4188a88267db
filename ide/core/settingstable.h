// The stored settings of the record Settings, one row each: the key, the
// value name, the field it fills (whose type is the stored type), its
// default and, for a setting the options dialog edits, its control.
// Loading, saving, a fresh record's defaults and the options dialog's
// controls all go by these rows; the history, the tools and the message
// forms are lists and keep their own code.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settingsfields.h"
#include "settingsrecord.h"

// A key of the stored settings and the mark a load sets once it has read it.
struct SettingsGroup {
    const char* key;
    bool Settings::Loaded::*loaded;
};

inline constexpr SettingsGroup kMainGroup = {settingsschema::kBaseKey, &Settings::Loaded::main};
inline constexpr SettingsGroup kHelpGroup = {settingsschema::kHelpKey, &Settings::Loaded::help};
inline constexpr const SettingsGroup* kSettingsGroups[] = {&kMainGroup, &kHelpGroup};

// When a value is written: with the options, only when its group was
// loaded; or at close, whenever its key exists.
enum class SavedWith { Options, Close };

// How the options dialog shows a value: an edit for a text, a check box
// for a flag, a fixed list for a number; None for a value it does not edit.
// A heading is a line of a page with no value.
enum class ControlKind { None, Edit, CheckBox, List, Heading };

struct OptionControl {
    ControlKind kind = ControlKind::None;
    // The start of the control's object name, which its kind ends ("Edit",
    // "Box", "List", "Heading"); the label in front of an edit or a list is
    // named this and "Label".
    const char* name = nullptr;
    const char* caption = nullptr;  // the label's, the check box's or the heading's text
    // A list's items, item i standing for the number i, and the item a
    // stored number shows (-1: none).
    std::span<const char* const> items = {};
    int (*shownItem)(std::int32_t stored) = nullptr;
};

// The control's object name: name and the kind's ending.
std::string ControlObjectName(const OptionControl& control);

struct StoredSetting {
    const SettingsGroup* group;
    const char* name;
    StoredField<Settings> field;
    OptionControl control = {};
    SavedWith savedWith = SavedWith::Options;
};

// The rows in the order they are read and written.
std::span<const StoredSetting> StoredSettings();

// The row of a value name; nullptr for none.
const StoredSetting* StoredSettingNamed(std::string_view name);
