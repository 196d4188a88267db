// Which names found in the folder or in include lines can stand in a rule
// of the makefile, and how they are written there. A name is text nobody
// wrote for make: it must not end the rule, start a recipe, continue the
// line, or let make or the command interpreter expand anything.
#pragma once

#include <string>
#include <string_view>

#include "codepage.h"

namespace depmill {

enum class NameUse {
    Prerequisite,  // an include name: only in dependency lines
    Command,       // a source name: also in the commands that compile it
};

// False for a name holding a blank, a tab, "#", "=", ";", a ":" after its
// first two characters (a drive letter's stays), a carriage return or a line
// feed, or ending in a backslash; a source, which is also handed to the
// command interpreter, holding "$", "`", "|", "&", "<" or ">" neither.
// Characters go by the code page: a trail byte is part of its character.
bool isUsableName(std::string_view name, NameUse use, common::CodePage cp);

// The name as make reads it back unchanged: every "$" written as "$$".
std::string escapedForMake(std::string_view name);

// The warning line for a name left out, with control characters shown as
// "?" so that the name cannot break or rewrite the line.
std::string skippedNameWarning(std::string_view name);

}  // namespace depmill
