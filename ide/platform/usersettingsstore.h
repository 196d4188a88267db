// Where the IDE's settings live for the current user: the registry under
// HKEY_CURRENT_USER on Windows, a per-user settings file elsewhere.
#pragma once

#include <memory>

#include "settingsstore.h"

std::unique_ptr<SettingsStore> openUserSettingsStore();
