// Which names found in the folder, in include lines or among the include
// folders can stand in the makefile, and how they are written there. A
// name is text nobody wrote for make: it must not end the rule, start a
// recipe, continue the line, or let make or the shell expand anything.
// make and /bin/sh read bytes whatever the code page, so every byte counts,
// the second byte of a double-byte character too.
#pragma once

#include <string>
#include <string_view>

#include "codepage.h"

namespace depmill {

// Where a name is written, and so which bytes make and the shell would act on.
enum class NameUse {
    // An include name: a word of dependency lines (make's only).
    Prerequisite,
    // A source name and its object's: a target, a prerequisite, a word of
    // the object groups and of the commands that /bin/sh runs.
    Command,
    // An include folder: a word of HDRPATH, the start of dependency words,
    // and a command's include option, where its "\" stand as the DOS
    // separators the rules themselves write.
    Folder,
};

// False for the empty name, and for a name holding
// - in every use: a control byte, a blank, "#", "=", ";", "|", "*", "?", a
//   ":" (but for a drive letter where make reads one), a "[" with a "]"
//   after it (make's wildcards), or starting with "~" or ending in a 0x5C
//   byte (a continued line, or an escaped blank after it);
// - as a prerequisite: ending in ")" after a "(" (an archive member);
// - as a command or folder word: "$", "`", "&", "<", ">", "(", ")", "'",
//   '"' (the shell's expansion, operators and quoting), or braces bash
//   could expand: a "{" before a "," or ".." before a "}", or a "}" that
//   closes no "{" beside a "{" that no "}" closes;
// - as a command word: "%" (a pattern rule), any "\" (the shell's escape),
//   or starting with "-" (an option of the compiler or of rm).
bool isUsableName(std::string_view name, NameUse use);

// True when the source and the object file made from it (its extension
// replaced by objectExt) both stand as command words.
bool isUsableSource(std::string_view name, std::string_view objectExt, common::CodePage cp);

// True when the value can end the line of a definition as make reads it:
// no NUL byte (make drops the rest of the line) and no 0x5C as its last
// byte (make joins the next line to it).
bool isUsableValue(std::string_view value);

// The name as make reads it back unchanged: every "$" written as "$$".
std::string escapedForMake(std::string_view name);

// The warning line for a name left out, with control characters shown as
// "?" so that the name cannot break or rewrite the line.
std::string skippedNameWarning(std::string_view name);

}  // namespace depmill
