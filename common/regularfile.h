// The one way the programs open a file that a project, a user or a folder
// they do not own hands them: only a regular file is opened, a link is
// never followed, and nothing is waited for, so a FIFO, a device or a link
// to one is never touched. A file they write is a new one, never an old
// file or a link's target.
#pragma once

#include <cstddef>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>

namespace common {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

struct OpenedFile {
    FileHandle file;       // open for reading in binary mode; null when refused
    bool missing = false;  // refused because no entry has the name
};

// The file, when the entry under the path is a regular file. The entry is
// looked at before it is opened (a tape rewinds and a watchdog arms at the
// open alone), and what was opened must be the very file that was looked
// at, so an entry swapped in between is not read either. On Windows others
// may read the file while it is open, but not write it.
OpenedFile openRegularFile(const std::string& path);

enum class FileRead { Read, Missing, Refused };

// The whole content of the file as openRegularFile opens it, at most
// `limit` bytes: a larger file, or one whose read fails, is Refused and
// `content` left empty.
FileRead readRegularFile(const std::string& path, std::string& content,
                         std::size_t limit = std::numeric_limits<std::size_t>::max());

enum class NewFilePermissions {
    OwnerOnly,      // read and write for the owner alone (POSIX 0600)
    AsUmaskAllows,  // those of any new file (POSIX 0666 less the umask)
};

struct CreatedFile {
    FileHandle file;         // open for writing in binary mode; null when not made
    bool nameTaken = false;  // not made because the name was taken
};

// A file made under a name nothing had: a name already taken, by a file or
// a link, is never opened. On Windows nobody else opens it while it is open.
CreatedFile createNewFile(const std::string& path, NewFilePermissions permissions);

}  // namespace common
