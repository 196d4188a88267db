// The makefile a new project ends up with: the generator always writes
// "makefile" in the project folder, whatever file name the user chose.
#pragma once

#include <string>

#include "codepage.h"

// The file the generator writes for a new project.
inline constexpr char kGeneratedMakefileName[] = "makefile";

// The path the project should record for its makefile: the chosen path when
// a file exists there (the generator then keeps working beside it), else the
// generator's "makefile" in the chosen folder, so that a name it will never
// write ("hello.mak", or "Makefile" where names are case-sensitive) does not
// leave the project and its history entry pointing at a missing file.
std::string NewProjectMakefile(const std::string& chosenPath,
                               common::CodePage cp = common::activeCodePage());
