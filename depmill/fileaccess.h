// The file system as depmill uses it. Every call into the operating system
// is here, RealFileSystem's too: a project folder may hold anything under
// any name, so inputs are used only when they are regular files, opening
// one never waits, links are never followed, and the new makefile is made
// under a fresh name and then moved into place.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "filesystem.h"

namespace depmill {

// The file, open for reading, when the name is a regular file that opens;
// not open for a link, folder, pipe, device or socket, or a file that does
// not open. Anything but a regular file is never opened
// (common::openRegularInput).
common::InputFile openInput(const std::string& path);

// True when openInput would give a file.
bool canOpenForReading(const std::string& path);

// True when both paths open one and the same file.
bool isSameFile(const std::string& a, const std::string& b);

// The names in the current folder, in the order the platform gives them;
// none when the folder cannot be listed.
std::optional<std::vector<std::string>> listCurrentFolder();

// A write beyond the file-size limit then fails like any other write
// instead of ending the process.
void letOversizedWritesFail();

}  // namespace depmill
