// The current project and the reader that fills it from the macro block at
// the head of a makefile: which macro names the program or library, its
// memory model, and the lookup of one macro's value (e.g. OUTDIR).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "codepage.h"
#include "headblock.h"
#include "uiservices.h"

// The current project. An empty projectFolder means that there is no project.
struct Project {
    std::string projectName;       // without folder and extension
    std::string projectFile;       // the makefile's path as chosen or stored
    std::string projectFolder;     // folder part of projectFile
    std::string targetName;        // projectName + ".exe" or ".lib"
    std::uint8_t targetType = 0;   // 0 program, 1 library
    std::uint8_t memoryModel = 0;  // 0 small, 1 medium, 2 compact, 3 large, 4 huge
    std::uint8_t database = 0;     // 1 database application
};

// Sets the record to the fresh state: texts empty, bytes 0.
void ResetProject(Project& project);

using MakefileMacro = common::MacroDefinition;
using MakefileMacros = std::vector<MakefileMacro>;

// The head block may hold this many definitions; one more is refused.
constexpr int kMaxMakefileMacros = static_cast<int>(common::kMaxHeadBlockDefinitions);

// Reads the macro block at the head of the makefile into `macros` (emptied
// first) and returns the count of definitions, or -1 after showing one of the
// reader's message boxes (file cannot be opened, too many definitions, out of
// memory). The block ends at the first logical line without "=". The file's
// text is in the code page cp.
int ReadMakefileMacros(const std::string& path, MakefileMacros& macros, UiServices& ui,
                       common::CodePage cp = common::activeCodePage());

// The value of the first definition of `name` (case matters), or empty.
std::string FindMakefileMacro(const MakefileMacros& macros, const std::string& name);

// Reads the makefile at `path` into `project`; false (record untouched) when
// the head block holds no definition or the file cannot be read.
bool LoadProject(Project& project, const std::string& path, UiServices& ui,
                 common::CodePage cp = common::activeCodePage());

// Fills `project` from definitions already read from the makefile at `path`:
// model, target type, names, folder; database is cleared.
void ApplyMakefileMacros(Project& project, const std::string& path, const MakefileMacros& macros,
                         common::CodePage cp = common::activeCodePage());

// The value of macro `name` in the makefile at `path`, or empty when the file
// has no definitions, cannot be read or does not define it.
std::string GetMakefileMacro(const std::string& path, const std::string& name, UiServices& ui,
                             common::CodePage cp = common::activeCodePage());

// Memory models: code 0..4, letter s m c l h, list item index 0..4.
constexpr auto kModelItemTexts =
    std::to_array<const char*>({"S - Small model", "M - Meadium model", "C - Compact Model",
                                "L - Large model", "H - Hude model"});

// The model's letter; codes outside 1..4 give 's'.
char ModelLetter(int code);
// Identity for 1..4, 0 for anything else (no selection is -1).
std::uint8_t ModelFromIndex(int index);
int IndexFromModel(int code);
// m/M 1, c/C 2, l/L 3, h/H 4; any other byte (the end of an empty value too) 0.
std::uint8_t ModelFromLetter(char letter);
