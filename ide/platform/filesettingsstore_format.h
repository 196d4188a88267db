// The text of the settings file: the registry export format, read
// leniently (what can be read is kept, the rest marks the text damaged)
// and written so that every value reads back with its type and bytes.
#pragma once

#include <string>
#include <string_view>
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

struct RegFileContent {
    std::vector<RegFileKey> keys;  // in file order, each path once
    bool damaged = false;          // something in the text could not be read
};

RegFileContent parseRegFile(std::string_view text);

// "REGEDIT4", then per key a blank line, "[HKEY_CURRENT_USER\path]" and its
// values: "name"="text" (a "\" or '"' escaped with "\"), dword:0000000b,
// hex(2):41,00 and, for other types or texts that a quoted line cannot
// carry, hex(n): with the value's bytes.
std::string formatRegFile(const std::vector<RegFileKey>& keys);

// True when two key paths or value names are equal, ASCII letter case aside.
bool sameRegName(std::string_view a, std::string_view b);
