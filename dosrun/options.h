// dosrun's command line: options that override the settings file, then
// the DOS program and its arguments.
#pragma once

#include <string>
#include <vector>

#include "dosdrives.h"

namespace dosrun {

struct Invocation {
    bool showVersion = false;
    bool showSettings = false;
    bool showUsage = false;
    bool passInput = false;            // -i: the program reads dosrun's standard input
    std::vector<std::string> command;  // the program, then its arguments
};

// Reads the arguments after the program name onto `settings` and
// `invocation`, by the options of the table in options.cpp; "--" ends them.
// An option's value may also follow its letter directly ("-rFOLDER"). The
// first word that is no option is the DOS program; the rest are its own.
// False, with the reason in `error`, for a bad command line.
bool ParseOptions(const std::vector<std::string>& arguments, common::DosrunSettings& settings,
                  Invocation& invocation, std::string* error);

// "usage: dosrun ...".
std::string UsageText();

}  // namespace dosrun
