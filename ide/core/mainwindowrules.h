// The window-free rules of the main window: the stored window placement,
// the title for the current project and the caption of a history entry in
// the Reopen menu.
#pragma once

#include <string>
#include <string_view>

#include "codepage.h"

struct TPROJ;
struct ProjectHistory;

// The main window's outer bounds in screen pixels, as stored in "Window".
struct WindowPlacement {
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
};

// Reads four values in turn: an optional "-", the run of digits after it
// (none gives 0), then one "," when one follows. Missing values are 0;
// anything unexpected ends the reading of that value.
WindowPlacement ParseWindowPlacement(std::string_view text);

// "left,top,width,height" in plain decimal, negative values with a "-".
std::string FormatWindowPlacement(const WindowPlacement& placement);

// "Vantor" without a project name, else "Vantor - name (folder)".
std::string WindowTitle(const TPROJ& project);

// "Project - folder of ProjectFile", as the Reopen menu lists an entry.
std::string HistoryCaption(const ProjectHistory& entry,
                           common::CodePage cp = common::activeCodePage());
