// Where the IDE's settings live for the current user: the registry under
// HKEY_CURRENT_USER on Windows, a per-user settings file elsewhere.
#pragma once

#include <memory>

#include "settingsstore.h"

class UiServices;

// With ui, a store that cannot be read or saved because another process
// keeps it locked says so in a message box.
std::unique_ptr<SettingsStore> openUserSettingsStore(UiServices* ui = nullptr);
