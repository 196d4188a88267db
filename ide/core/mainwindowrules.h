// The window-free rules of the main window: the stored window placement,
// the title for the current project and the caption of a history entry in
// the Reopen menu.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"

struct Project;
struct ProjectHistory;

// The main window's bounds in screen pixels, as stored in "Window": its
// client area without the frame the window manager adds, saved and restored
// alike so that a start and a close leave the window where it was. Also a
// screen's available area.
struct WindowPlacement {
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;

    bool operator==(const WindowPlacement&) const = default;
};

// Reads four values in turn: an optional "-", the run of digits after it
// (none gives 0), then one "," when one follows. Missing values are 0;
// anything unexpected ends the reading of that value.
WindowPlacement ParseWindowPlacement(std::string_view text);

// "left,top,width,height" in plain decimal, negative values with a "-".
std::string FormatWindowPlacement(const WindowPlacement& placement);

// What the window manager's frame adds to the window's inner area on each
// side (the title bar at the top), in pixels; none before it has framed the
// window.
struct FrameMargins {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;

    bool operator==(const FrameMargins&) const = default;
};

// The window's inner area such that its frame's outer bounds, `placement`
// grown by `frame`, lie on a screen: outer bounds that lie wholly within the
// available area of one of the screens stay as they are. Any others are put
// onto the screen whose area they overlap most (the nearest one when they
// overlap none): shrunk to that area's size where they are larger, then
// moved just as far as it takes to lie within it. Without screens the
// placement stays.
WindowPlacement FitPlacementOnScreens(const WindowPlacement& placement,
                                      const std::vector<WindowPlacement>& availableAreas,
                                      const FrameMargins& frame = {});

// "Vantor" without a project name, else "Vantor - name (folder)".
std::string WindowTitle(const Project& project);

// "Project - folder of ProjectFile", as the Reopen menu lists an entry.
std::string HistoryCaption(const ProjectHistory& entry,
                           common::CodePage cp = common::activeCodePage());
