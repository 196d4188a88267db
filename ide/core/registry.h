// RegistryAccess: the registry access object of the settings operations. It
// holds at most one open key of a SettingsStore, reads typed values with a
// default and writes them. Where the registry would fail (a write the store
// refuses, a string read from a value of another type) the call says so as
// every failing call of the IDE's settings does: it returns false (a read
// its default) and, when err is given, puts the message there.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "settingsstore.h"

class RegistryAccess {
  public:
    explicit RegistryAccess(SettingsStore& store);
    ~RegistryAccess();  // closes the open key
    RegistryAccess(const RegistryAccess&) = delete;
    RegistryAccess& operator=(const RegistryAccess&) = delete;

    // Opens the key at path, closing the one open before. A leading "\"
    // makes the path absolute from the user's root; otherwise it is taken
    // below the open key (or the root when none is open). canCreate creates
    // missing keys. True when the key is open afterwards.
    bool openKey(const std::string& path, bool canCreate);

    // Closes the open key, if any. False when changes made in it could not
    // be kept by the store.
    bool closeKey();

    // Path of the open key from the root, without a leading "\"; empty when
    // none is open.
    const std::string& currentPath() const { return currentPath_; }

    // True when the open key has a value of that name, of any type.
    bool hasValue(const std::string& name);

    // The text of a string or expandable-string value, up to its first zero
    // byte; def when the value is missing. A value of any other type gives
    // def and the data-type error "'<name>' のﾃﾞｰﾀ型が不正です" in err.
    std::string readString(const std::string& name, const std::string& def,
                           std::string* err = nullptr);

    // A 32-bit integer value (at most 4 bytes); def for anything else.
    int readInteger(const std::string& name, int def);

    // A stored integer other than zero is true; def for anything else.
    bool readBool(const std::string& name, bool def);

    // Write a string (type 1) or integer (type 4, a flag as 1 or 0). False,
    // with "'<name>' を書き込めません" in err, when no key is open or the
    // store refuses.
    bool writeString(const std::string& name, const std::string& value, std::string* err = nullptr);
    bool writeInteger(const std::string& name, int value, std::string* err = nullptr);
    bool writeBool(const std::string& name, bool value, std::string* err = nullptr);

    // Removes the value; true on success.
    bool deleteValue(const std::string& name);

  private:
    // The integer of a 32-bit value of at most 4 bytes; nullopt otherwise.
    std::optional<int> readDword(const std::string& name);
    bool write(const std::string& name, const SettingsValue& value, std::string* err);

    SettingsStore& store_;
    std::unique_ptr<SettingsKey> key_;
    std::string currentPath_;
};
