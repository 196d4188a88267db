// The file system of the makefile's folder as the writer uses it: look at
// an entry, open a regular file, make a new file, rename, remove. The real
// one is the operating system's (depmill/fileaccess.cpp, over
// common/regularfile); a test stands another in where a call must fail.
#pragma once

#include <optional>
#include <string>

#include "regularfile.h"

namespace depmill {

using common::FileHandle;

enum class EntryKind { Missing, RegularFile, Other };

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // What the folder holds under the name; a link counts as itself (Other).
    virtual EntryKind entryKind(const std::string& path) = 0;

    // The file, open for reading, when the name is a regular file that
    // opens; null otherwise. Anything else is never opened.
    virtual FileHandle openRegularFile(const std::string& path) = 0;

    // A file made under a name nothing had, open for writing; a name
    // already taken (by a file or a link) is never opened.
    virtual common::CreatedFile createNewFile(const std::string& path) = 0;

    // Gives the entry `from` the name `to`, replacing what `to` named; a
    // link under either name is moved or replaced as a name, never written
    // through.
    virtual bool rename(const std::string& from, const std::string& to) = 0;

    // Removes the file or link of that name (never a folder, never a link's
    // target).
    virtual void remove(const std::string& path) = 0;
};

class RealFileSystem : public FileSystem {
  public:
    EntryKind entryKind(const std::string& path) override;
    FileHandle openRegularFile(const std::string& path) override;
    common::CreatedFile createNewFile(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
};

struct NewFile {
    FileHandle file;  // open for writing, binary
    std::string name;
};

// Creates a file named prefix, "." and a fresh suffix, trying other
// suffixes while the names are taken; none when no file can be created.
std::optional<NewFile> createFreshFile(FileSystem& files, const std::string& prefix);

}  // namespace depmill
