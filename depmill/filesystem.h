// The one way depmill reaches the files of its folder: the scan, the
// include search, the makefile text and the writer all go through a
// FileSystem. The real one is the operating system's (depmill/fileaccess.cpp,
// over common/regularfile); tests stand a folder kept in memory in its place.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linereader.h"

namespace depmill {

enum class EntryKind { Missing, RegularFile, Other };

enum class NewFileWrite {
    Written,
    NameTaken,   // nothing made: the name was taken
    NotCreated,  // nothing made
    NotWritten,  // made, but the bytes did not all reach it: to be removed
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // What the folder holds under the name; a link counts as itself (Other).
    virtual EntryKind entryKind(const std::string& path) = 0;

    // The lines of the file when the name is a regular file that opens (the
    // very file looked at before the open); a reader that is not open
    // otherwise. Anything else is never opened.
    virtual common::LineReader readLines(const std::string& path) = 0;

    // The names in the current folder, in the order the folder gives them;
    // none when it cannot be listed.
    virtual std::optional<std::vector<std::string>> listFolder() = 0;

    // True when both names open one and the same file.
    virtual bool isSameFile(const std::string& a, const std::string& b) = 0;

    // Makes a file under a name nothing had and writes the bytes into it;
    // a name already taken (by a file or a link) is never opened.
    virtual NewFileWrite writeNewFile(const std::string& path, std::string_view bytes) = 0;

    // Gives the entry `from` the name `to`, replacing what `to` named; a
    // link under either name is moved or replaced as a name, never written
    // through.
    virtual bool rename(const std::string& from, const std::string& to) = 0;

    // Removes the file or link of that name (never a folder, never a link's
    // target).
    virtual void remove(const std::string& path) = 0;

    // True when readLines would give an open reader; nothing is read.
    bool opens(const std::string& path) { return readLines(path).isOpen(); }
};

class RealFileSystem : public FileSystem {
  public:
    EntryKind entryKind(const std::string& path) override;
    common::LineReader readLines(const std::string& path) override;
    std::optional<std::vector<std::string>> listFolder() override;
    bool isSameFile(const std::string& a, const std::string& b) override;
    NewFileWrite writeNewFile(const std::string& path, std::string_view bytes) override;
    bool rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
};

struct FreshFile {
    NewFileWrite result;  // never NameTaken
    std::string name;
};

// Writes the bytes into a new file named prefix, "." and a fresh suffix,
// trying other suffixes while the names are taken (NotCreated when no free
// name was found).
FreshFile writeFreshFile(FileSystem& files, const std::string& prefix, std::string_view bytes);

}  // namespace depmill
