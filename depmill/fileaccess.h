// The operating system's side of depmill's file access. Every call into the operating system
// is here, RealFileSystem's too: a project folder may hold anything under
// any name, so inputs are used only when they are regular files, opening
// one never waits, links are never followed, and the new makefile is made
// under a fresh name and then moved into place.
#pragma once

#include "filesystem.h"

namespace depmill {

// A write beyond the file-size limit then fails like any other write
// instead of ending the process.
void letOversizedWritesFail();

}  // namespace depmill
