// The edit pages of the options dialog, each a list of lines: the control
// of a stored setting, named by its value name (the row of settingstable.h
// says how it shows), or a control of the page's own that stores nothing.
// A new setting on a page is its row and a line here.
#pragma once

#include <span>

#include "settingstable.h"

struct OptionsLine {
    const char* setting = nullptr;  // the row's value name; nullptr for own
    OptionControl own = {};         // when the line is no setting's
};

struct OptionsPage {
    const char* name;     // the page's object name
    const char* caption;  // its tab's text
    std::span<const OptionsLine> lines;
};

// The pages in the order of their tabs.
std::span<const OptionsPage> OptionsPages();

// The row a line edits: nullptr for a control of the page's own.
const StoredSetting* SettingOf(const OptionsLine& line);
// How the line shows: its row's control or its own.
const OptionControl& ControlOf(const OptionsLine& line);
