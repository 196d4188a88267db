// The editor command of a fresh settings file. On Windows it is a fixed
// command; elsewhere it is the first common editor installed, each with its
// own way to name the line ("%n" the line, "%s" the quoted file). The
// settings ask this for their default; nothing here knows the settings.
#pragma once

#include <string>
#include <string_view>

struct EditorCandidate {
    const char* program;
    const char* command;
};

// Tried in this order; the desktop's opener when none is installed (it
// opens the file but cannot jump to the line).
inline constexpr EditorCandidate kEditorCandidates[] = {
    {"gedit", "gedit +%n %s"}, {"kate", "kate --line %n %s"}, {"geany", "geany +%n %s"},
    {"pluma", "pluma +%n %s"}, {"code", "code -g %s:%n"},
};
inline constexpr char kFallbackEditCommand[] = "xdg-open %s";
inline constexpr char kWindowsEditCommand[] = "hidemaru /j%n %s";

// The command of the first candidate whose program is an executable file in
// one of the ":"-separated folders of searchPath; else the fallback.
std::string FirstInstalledEditCommand(std::string_view searchPath);

// What LoadSettings gives a missing "EditCommand": kWindowsEditCommand on
// Windows, otherwise the first installed editor on $PATH.
std::string DefaultEditCommand();
