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

struct OptionsResult {
    Invocation invocation;
    std::string error;  // empty when the command line is good
};

// Reads the arguments after the program name onto `settings`:
//   -r FOLDER  -d X=FOLDER  -p DOSPATH  -e NAME=VALUE  -t SECONDS  -c CYCLES
//   -i  -v  --show  -h  --help  --
// An option's value may also follow its letter directly ("-rFOLDER"). The
// first word that is no option is the DOS program; the rest are its own.
OptionsResult ParseOptions(const std::vector<std::string>& arguments, common::DosrunSettings& settings);

// The settings in force as lines of the settings file.
std::string SettingsText(const common::DosrunSettings& settings);

// "usage: dosrun ...".
std::string UsageText();

}  // namespace dosrun
