// Asking the file system whether a name can be opened, without reading it.
#pragma once

#include <string>

namespace depmill {

// True when the path names a file (not a folder) that opens for reading.
bool canOpenForReading(const std::string& path);

// True when both paths open one and the same file.
bool isSameFile(const std::string& a, const std::string& b);

}  // namespace depmill
