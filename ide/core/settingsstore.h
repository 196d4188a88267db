// The per-user settings store behind RegistryAccess: a tree of keys, each
// holding named values of a registry type. The Windows registry and a
// per-user text file on other systems implement it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class UiServices;

// Registry value types the IDE interprets; every other type number is kept
// with its bytes as they are.
constexpr std::uint32_t kSettingsString = 1;        // text, no terminating zero byte
constexpr std::uint32_t kSettingsExpandString = 2;  // text with %VARIABLES%, never expanded
constexpr std::uint32_t kSettingsDword = 4;         // 32-bit little-endian integer

struct SettingsValue {
    std::uint32_t type = kSettingsString;
    std::string data;  // the value's bytes exactly as stored

    bool operator==(const SettingsValue&) const = default;
};

// One open key. Value names compare without regard to ASCII letter case.
// The key stays open until close() or destruction.
class SettingsKey {
  public:
    virtual ~SettingsKey() = default;

    // The value of that name, or nullopt when there is none (or it cannot
    // be read).
    virtual std::optional<SettingsValue> read(const std::string& name) = 0;

    // Creates or replaces the value; false when the store refuses.
    virtual bool write(const std::string& name, const SettingsValue& value) = 0;

    // Removes the value; false when there was none or the store refuses.
    virtual bool remove(const std::string& name) = 0;

    // Ends the work on this key. False when changes made through it could
    // not be kept (a store that saves on close reports its failure here).
    // Closing twice is harmless.
    virtual bool close() = 0;
};

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // Opens the key at path, given from the user's root with "\" between
    // the key names (e.g. "Software\Halden\Vantor\Tools"; key names compare
    // without regard to ASCII letter case). With create, missing keys along
    // the path are created. nullptr when the key is missing (without
    // create) or cannot be opened.
    virtual std::unique_ptr<SettingsKey> openKey(const std::string& path, bool create) = 0;
};

// The current user's store: the registry under HKEY_CURRENT_USER on
// Windows, the settings file of FileSettingsStore::userFile() elsewhere.
// With ui, a store that cannot be read or saved because another process
// keeps it locked says so in a message box.
std::unique_ptr<SettingsStore> CreateUserSettingsStore(UiServices* ui = nullptr);
