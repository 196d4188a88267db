// The operations that load and save the IDE's settings record
// (settingsrecord.h), the tool list and the project history through
// RegistryAccess. The value names, types and defaults of the record's
// fields are the rows of settingstable.h.
//
// Every operation takes the SettingsStore to work on: the application opens
// the user's store once at start (CreateUserSettingsStore) and hands it on;
// tests pass a store of their own. Each operation opens its key, reads or
// writes, and closes it again.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "codepage.h"
#include "messageline.h"
#include "settingsrecord.h"
#include "settingsstore.h"
#include "tool.h"

// Texts of the values a load could not read, one line each ("'<name>'
// のﾃﾞｰﾀ型が不正です" for a text stored with another type); empty when none.
using LoadErrors = std::string;

// The record a fresh settings file loads: every stored setting at its
// default (the editor's looked for on $PATH), no history, no forms.
Settings DefaultSettings();

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
