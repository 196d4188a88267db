// The file version of a program, as the About box shows it.
#pragma once

#include <memory>
#include <optional>
#include <string>

class FileVersionReader {
  public:
    virtual ~FileVersionReader() = default;

    // The file version of the program at path as "a.b.c.d" (the four 16-bit
    // parts of its fixed file version); nullopt when it has none.
    virtual std::optional<std::string> versionOf(const std::string& path) const = 0;
};

// On Windows the version comes from the file's version resource. Linux
// executables carry none: there it is the version the tree was built as,
// whatever the path.
std::unique_ptr<FileVersionReader> CreateSystemFileVersionReader();
