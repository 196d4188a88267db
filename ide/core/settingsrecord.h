// The settings record and the keys it is stored under: the fields that the
// rows of settingstable.h fill, the history entries, the names of the
// values kept as lists (tools, message forms).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "messageline.h"

// The stored layout. Paths are absolute from the user's root.
namespace settingsschema {

inline constexpr char kBaseKey[] = "\\Software\\Halden\\Vantor";
inline constexpr char kHelpKey[] = "\\Software\\Halden\\Vantor\\Help";
inline constexpr char kHistoryKey[] = "\\Software\\Halden\\Vantor\\history";
inline constexpr char kToolsKey[] = "\\Software\\Halden\\Vantor\\Tools";
inline constexpr char kMessageFormsKey[] = "\\Software\\Halden\\Vantor\\MessageForms";

// The values of the main key and "\Help" are the rows of settingstable.h.
// "\history" holds each entry's values, "\Tools" "NumTools" and each
// tool's values, all named by a prefix followed by the index (settings.cpp).
inline constexpr char kNumTools[] = "NumTools";

// "\MessageForms" key: "Count" and, per form, "Form" followed by its index,
// each "caption|form".
inline constexpr char kMessageFormCount[] = "Count";
inline constexpr char kMessageForm[] = "Form";
inline constexpr char kMessageFormSeparator = '|';

// "Name" and 7 give "Name7".
std::string indexedName(const char* prefix, std::size_t index);

}  // namespace settingsschema

// One entry of the project history; an empty Project marks a free entry.
struct ProjectHistory {
    std::string projectName;  // the project's name
    std::string projectFile;  // full path of its makefile
};

constexpr std::size_t kHistorySize = 20;

// The settings record: one field per stored setting, named after its value.
// A fresh record has empty texts, zero numbers and false flags; the stored
// defaults arrive with LoadSettings.
struct Settings {
    std::array<ProjectHistory, kHistorySize> history;  // entry 0 most recent
    std::string projectFolder;
    std::string buildCommand;
    std::string rebuildCommand;
    std::string depmillCommand;
    std::string editorCommand;
    std::string windowPlacement;  // "left,top,width,height" or empty
    bool foldOutput = false;
    bool useStatusBar = false;
    std::string fontName;
    std::int32_t fontSize = 0;  // points
    std::string ideHelpFile;
    std::string languageHelpFile;
    std::string errorHelpFile;
    std::string buildToolHelpFile;
    std::string quarryHelpFile;
    std::int32_t defaultMemoryModel = 0;
    std::string defaultObjectFolder;
    std::int32_t outputEncoding = 0;  // the child output's code page, see outputdecoding.h
    // The user's message forms, tried before the built-in ones; read by
    // LoadMessageForms, written by SaveMessageForms.
    std::vector<UserMessageForm> messageForms;

    // Which groups LoadSettings has read. A save writes only those, so a
    // record that could not be read never blanks what is stored.
    struct Loaded {
        bool main = false;     // the main key's values
        bool help = false;     // "\Help"
        bool history = false;  // "\history"
    } loaded;
};
