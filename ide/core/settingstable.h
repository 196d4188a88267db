// The stored settings of the record Settings, one row each: the key, the
// value name, the field it fills (whose type is the stored type) and its
// default. Loading, saving and a fresh record's defaults all go by these
// rows; the history, the tools and the message forms are lists and keep
// their own code.
#pragma once

#include <span>

#include "settingsrecord.h"
#include "settingsfields.h"

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

struct StoredSetting {
    const SettingsGroup* group;
    const char* name;
    StoredField<Settings> field;
    SavedWith savedWith = SavedWith::Options;
};

// The rows in the order they are read and written.
std::span<const StoredSetting> StoredSettings();
