// The IDE's settings: the record Settings, the stored schema (keys, value
// names, defaults) and the operations that load and save the record, the
// tool list and the project history through RegistryAccess.
//
// Every operation takes the SettingsStore to work on: the application opens
// the user's store once at start (CreateUserSettingsStore) and hands it on;
// tests pass a store of their own. Each operation opens its key, reads or
// writes, and closes it again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codepage.h"
#include "messageline.h"
#include "settingsstore.h"
#include "tool.h"

// The stored layout. Paths are absolute from the user's root.
namespace settingsschema {

inline constexpr char kBaseKey[] = "\\Software\\Halden\\Vantor";
inline constexpr char kHelpKey[] = "\\Software\\Halden\\Vantor\\Help";
inline constexpr char kHistoryKey[] = "\\Software\\Halden\\Vantor\\history";
inline constexpr char kToolsKey[] = "\\Software\\Halden\\Vantor\\Tools";
inline constexpr char kMessageFormsKey[] = "\\Software\\Halden\\Vantor\\MessageForms";

// Main key.
inline constexpr char kBuildCommand[] = "BuildCommand";
inline constexpr char kRebuildCommand[] = "RebuildCommand";
inline constexpr char kDepmillCommand[] = "DepmillCommand";
inline constexpr char kEditCommand[] = "EditCommand";
inline constexpr char kProjectFolder[] = "ProjectFolder";
inline constexpr char kWindow[] = "Window";
inline constexpr char kFoldOutput[] = "FoldOutput";
inline constexpr char kUseStatusBar[] = "useStatusBar";
inline constexpr char kFontName[] = "FontName";
inline constexpr char kFontSize[] = "FontSize";
inline constexpr char kDefaultMemorymodel[] = "defaultMemorymodel";
inline constexpr char kDefaultObjectFolder[] = "defaultObjectFolder";
inline constexpr char kOutputEncoding[] = "OutputEncoding";

#ifdef _WIN32
inline constexpr char kDefBuildCommand[] = "cmd /cmake |cat -u";
inline constexpr char kDefRebuildCommand[] = "cmd /cmake clean all |cat -u";
#else
// make itself: through "|cat -u" /bin/sh would report cat's status, and a
// failed make would end as a success.
inline constexpr char kDefBuildCommand[] = "make";
inline constexpr char kDefRebuildCommand[] = "make clean all";
#endif
inline constexpr char kDefDepmillCommand[] = "depmill -t1";
#ifdef _WIN32
inline constexpr char kDefEditCommand[] = "hidemaru /j%n %s";  // elsewhere: DefaultEditCommand()
#endif
inline constexpr char kDefProjectFolder[] = "";
inline constexpr char kDefWindow[] = "";
inline constexpr bool kDefFoldOutput = true;
inline constexpr bool kDefUseStatusBar = true;
inline constexpr char kDefFontName[] = "FixedSys";
inline constexpr int kDefFontSize = 11;
inline constexpr int kDefDefaultMemorymodel = 3;  // large
inline constexpr char kDefDefaultObjectFolder[] = "obj";
inline constexpr int kDefOutputEncoding = 0;  // automatic

// "\Help" key.
inline constexpr char kHelpfile[] = "Helpfile";
inline constexpr char kClang[] = "Clang";
inline constexpr char kCerror[] = "Cerror";
inline constexpr char kBuildtool[] = "Buildtool";
inline constexpr char kQuarry[] = "Quarry";

#ifdef _WIN32
inline constexpr char kDefHelpfile[] = "vantor.hlp";
inline constexpr char kDefClang[] = "c:\\msvc\\help\\mscxx.hlp";
inline constexpr char kDefCerror[] = "c:\\msvc\\help\\errors.hlp";
inline constexpr char kDefBuildtool[] = "c:\\msvc\\help\\mscopts.hlp";
inline constexpr char kDefQuarry[] = "c:\\msvc\\help\\quarry.hlp";
#else
// No help file of these exists here: each starts unset until the user names one.
inline constexpr char kDefHelpfile[] = "";
inline constexpr char kDefClang[] = "";
inline constexpr char kDefCerror[] = "";
inline constexpr char kDefBuildtool[] = "";
inline constexpr char kDefQuarry[] = "";
#endif

// "\history" key: prefix followed by the entry's index in decimal.
inline constexpr char kHistoryProjectFile[] = "ProjectFile";
inline constexpr char kHistoryProject[] = "Project";

// "\Tools" key: "NumTools" and, per tool, prefix followed by its index.
inline constexpr char kNumTools[] = "NumTools";
inline constexpr char kToolName[] = "Name";
inline constexpr char kToolCommand[] = "Command";
inline constexpr char kToolArguments[] = "Arguments";
inline constexpr char kToolFolder[] = "Folder";
inline constexpr char kToolOutputRedirect[] = "OutputRedirect";
inline constexpr char kToolIconed[] = "Iconed";

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
// A fresh record has empty texts, zero numbers and false flags; the schema's
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

// Texts of the values a load could not read, one line each ("'<name>'
// のﾃﾞｰﾀ型が不正です" for a text stored with another type); empty when none.
using LoadErrors = std::string;

// Reads the main key, "\Help" and all 20 history entries into the record,
// creating the three keys when missing, and marks the groups read in
// reg.loaded; a missing value gives its default, a key that cannot be
// opened leaves its fields as they were. A text stored with another type
// takes its default too, and the load goes on; its error is returned.
LoadErrors LoadSettings(Settings& reg, SettingsStore& store);

// Writes the main key's settings (not "Window") and the help files, each
// group only when it was loaded. Every write is attempted; true when none
// failed.
bool SaveOptions(const Settings& reg, SettingsStore& store);

// Writes the 20 history entries (free ones as empty values; only when the
// history was loaded) and "Window" (only when the main key exists). True
// when no write failed.
bool SaveAtClose(const Settings& reg, SettingsStore& store);

// The stored "NumTools" (creating "\Tools" when missing), limited to 0 to
// kMaxTools: no stored tool past the table's slots is read or deleted. 0
// when unreadable.
int ReadToolCount(SettingsStore& store);

// Reads stored tool `index` into `tool`; false when "\Tools" cannot be
// opened. A text stored with a non-string type reads as empty, its error
// appended to `errors` when given.
bool LoadTool(Tool& tool, std::size_t index, SettingsStore& store, LoadErrors* errors = nullptr);

// Reads the stored tools into the list in order, skipping any without a
// name or a command; slots past the count are left fresh. False, with the
// list untouched, when the store could not be read at all.
bool LoadTools(ToolTable& list, SettingsStore& store, LoadErrors* errors = nullptr);

// Writes the six values of tool `index`; the first failing write skips the
// rest. True when the key opened and all writes succeeded.
bool SaveTool(const Tool& tool, std::size_t index, SettingsStore& store);

// Stores the list's tools at indices 0 to count-1, deletes the values of
// the indices that were stored before and are now past the end (highest
// first) and writes "NumTools". True when everything was stored.
bool SaveTools(const ToolTable& list, SettingsStore& store);

// The most user message forms kept; stored ones past it are not read.
constexpr std::size_t kMaxMessageForms = 100;

// Reads the user's message forms in order ("\MessageForms", creating the
// key when missing). A stored value without "|" between caption and form,
// or not stored as a text, is skipped, its reason appended to errors.
// False, with forms untouched, when the store could not be read at all.
bool LoadMessageForms(std::vector<UserMessageForm>& forms, SettingsStore& store,
                      LoadErrors* errors = nullptr);

// Stores the forms at indices 0 to their count - 1, deletes the values
// stored before past the end and writes "Count". True when everything was
// stored.
bool SaveMessageForms(const std::vector<UserMessageForm>& forms, SettingsStore& store);

// True when two makefile paths name the same file as the file system
// compares names: exactly here, ASCII letter case aside (in code page cp)
// on Windows.
bool SameProjectFile(const std::string& a, const std::string& b,
                     common::CodePage cp = common::activeCodePage());

// Records a project as the most recent history entry (in memory only).
// Ignored when name or file is empty; an entry with the same name (ASCII
// letter case aside, in code page cp) and the same file (SameProjectFile)
// moves to the head taking the new spelling, unless it already is the
// head, which stays untouched; otherwise entry 19 drops out.
void AddHistory(Settings& reg, const std::string& name, const std::string& file,
                common::CodePage cp = common::activeCodePage());
