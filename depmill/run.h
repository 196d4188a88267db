// One depmill run over a folder: the options of DEPMILLOPT and the command
// line, the previous makefile, the scan and the writer. Everything it
// reaches goes through the FileSystem, everything it says through out and err.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "codepage.h"
#include "filesystem.h"

namespace depmill {

struct Invocation {
    std::vector<std::string> args;              // without the program name
    std::optional<std::string> optionVariable;  // DEPMILLOPT, when set
    common::CodePage codePage = common::CodePage::Utf8;
};

// The exit status of the run.
int runDepmill(const Invocation& invocation, FileSystem& files, std::ostream& out,
               std::ostream& err);

}  // namespace depmill
