// The text of the settings file: the registry export format, read
// leniently (what can be read is kept, the rest marks the text damaged)
// and written so that every value reads back with its type and bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "settingsstore.h"

struct RegFileValue {
    std::string name;  // empty for the key's default value ("@")
    SettingsValue value;
};

struct RegFileKey {
    std::string path;  // below HKEY_CURRENT_USER, "\" between key names, no outer "\"
    std::vector<RegFileValue> values;
};

// The keys of a settings text in file order, each path once, found by
// their paths and value names with ASCII letter case aside in time that does
// not grow with the number of keys or values.
class RegFileTree {
  public:
    const std::vector<RegFileKey>& keys() const { return keys_; }

    // The position of the key at path in keys(); nullopt when missing.
    std::optional<std::size_t> find(std::string_view path) const;
    // The key at path, added at the end when missing.
    std::size_t obtain(const std::string& path);
    // True for a stored key, any key along a stored key's path, and the root.
    bool exists(std::string_view path) const;

    // The value of that name in key `key`; nullptr when there is none.
    const SettingsValue* value(std::size_t key, std::string_view name) const;
    // Creates or replaces the value; true when what is stored changed.
    bool setValue(std::size_t key, const std::string& name, SettingsValue value);
    // Removes the value; false when there was none.
    bool removeValue(std::size_t key, std::string_view name);

  private:
    std::vector<RegFileKey> keys_;
    std::unordered_map<std::string, std::size_t> keyIndex_;  // folded path
    std::unordered_set<std::string> paths_;  // folded paths of keys and their parents
    std::vector<std::unordered_map<std::string, std::size_t>> valueIndex_;  // folded names
};

struct RegFileContent {
    RegFileTree keys;
    bool damaged = false;  // something in the text could not be read
};

RegFileContent parseRegFile(std::string_view text);

// "REGEDIT4", then per key a blank line, "[HKEY_CURRENT_USER\path]" and its
// values: "name"="text" (a "\" or '"' escaped with "\"), dword:0000000b,
// hex(2):41,00 and, for other types or texts that a quoted line cannot
// carry, hex(n): with the value's bytes.
std::string formatRegFile(const std::vector<RegFileKey>& keys);

// True when two key paths or value names are equal, ASCII letter case aside.
bool sameRegName(std::string_view a, std::string_view b);
