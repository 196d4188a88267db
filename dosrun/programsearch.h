// Where DOS would find a program: the current folder, then each folder of
// the DOS PATH, trying ".COM", ".EXE" and ".BAT" for a name without an
// extension, as COMMAND.COM does; looked up on the host through the drives.
#pragma once

#include <optional>
#include <string>

#include "dosdrives.h"

namespace dosrun {

// The host file of the program named on the command line, or nothing when
// there is none (then it may be a command of the DOS shell itself).
// `currentFolder` is the host folder that is the DOS current folder.
std::optional<std::string> FindDosProgram(const std::string& program, const common::DosrunSettings& settings,
                                          const std::string& currentFolder);

}  // namespace dosrun
