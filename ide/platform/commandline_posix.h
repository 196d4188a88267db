// Turns a command line written for Windows into a program path and an
// argument vector here: arguments split as Windows programs split their own
// command line, the program searched as Windows searches it, "cmd /c" mapped
// to /bin/sh -c.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"
#include "commandtemplate.h"  // CommandSyntaxOf, CommandInterpreterRest

// The arguments of a command line as the C runtime of Windows programs reads
// them (the rules of the current runtime, not of the one before 2008). The
// first word is the program name: it ends at a blank or tab outside double
// quotes, the quotes are dropped and backslashes mean nothing in it. In the
// other words blanks and tabs separate, double quotes group, 2n backslashes
// before a quote give n backslashes and the quote acts, 2n+1 give n and a
// literal quote, other backslashes are literal, and "" inside quotes gives
// one literal quote and the quoting goes on. The second byte of a double-byte
// character is never taken for a backslash.
std::vector<std::string> SplitCommandLine(std::string_view commandLine, common::CodePage cp);

// The file a program name starts: a name with "/" or "\" is a path (its
// backslashes taken as separators); otherwise ownFolder, then each folder of
// searchPath (":"-separated). A name ending in ".exe" that is not found is
// looked up again without it. nullopt when no executable file is found.
std::optional<std::string> FindProgram(const std::string& name, const std::string& ownFolder,
                                       const std::string& searchPath, common::CodePage cp);

// The folder of the running program (from /proc/self/exe).
std::string OwnProgramFolder();

// What to start for a command line.
struct ResolvedCommand {
    std::string program;            // the file to execute
    std::vector<std::string> argv;  // argv[0] is the name as written
};

// The program and arguments of commandLine, searched in the IDE's own
// folder and $PATH; a line that runs by the shell's syntax (CommandSyntaxOf),
// "cmd /c<rest>", gives /bin/sh -c <rest>. nullopt for an
// empty line or a program that is not found.
std::optional<ResolvedCommand> ResolveCommandLine(std::string_view commandLine,
                                                  common::CodePage cp);
