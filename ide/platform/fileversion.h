// The file version of a program, as the About box shows it.
#pragma once

#include <string>

// The file version of the program at path as "a.b.c.d" (the four 16-bit
// parts of its fixed file version); false, and out empty, when it has none.
// On Windows it comes from the file's version resource. Linux executables
// carry none: there it is the version the tree was built as, whatever path.
bool GetFileVersionString(const std::string& path, std::string& out);
