// RegistryAccess: the registry access object of the settings operations. It
// holds at most one open key of a SettingsStore, reads typed values with a
// default and writes them, raising RegistryError where the registry would.
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "settingsstore.h"

// A write the store refused, or a string read from a value of another type
// (message "'<name>' のﾃﾞｰﾀ型が不正です").
class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

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
    // byte; def when the value is missing. Throws RegistryError (data-type
    // error) for a value of any other type.
    std::string readString(const std::string& name, const std::string& def);

    // A 32-bit integer value (at most 4 bytes); def for anything else.
    int readInteger(const std::string& name, int def);

    // A stored integer other than zero is true; def for anything else.
    bool readBool(const std::string& name, bool def);

    // Write a string (type 1) or integer (type 4, a flag as 1 or 0). Throw
    // RegistryError when no key is open or the store refuses.
    void writeString(const std::string& name, const std::string& value);
    void writeInteger(const std::string& name, int value);
    void writeBool(const std::string& name, bool value);

    // Removes the value; true on success. Never throws.
    bool deleteValue(const std::string& name);

  private:
    // The integer of a 32-bit value of at most 4 bytes; nullopt otherwise.
    std::optional<int> readDword(const std::string& name);
    void write(const std::string& name, const SettingsValue& value);

    SettingsStore& store_;
    std::unique_ptr<SettingsKey> key_;
    std::string currentPath_;
};
