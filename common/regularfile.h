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

struct OpenedInput;
struct OpenedFile;

// A regular file open for reading through its descriptor, with no stdio
// buffer between. It knows the size the file had when it was opened: a
// read that stops short right at that size has met the end, so a small
// file takes one read and not a second one that finds nothing.
class InputFile {
  public:
    InputFile() = default;
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    bool isOpen() const { return fd_ >= 0; }

    // Up to `size` bytes of the file; 0 at its end, or once a read failed.
    std::size_t read(char* buffer, std::size_t size);

    // True when a read failed (a signal that interrupts one is no failure).
    bool failed() const { return failed_; }

  private:
    friend OpenedInput openRegularInput(const std::string& path);
    friend OpenedFile openRegularFile(const std::string& path);

    InputFile(int fd, unsigned long long size) : fd_(fd), sizeWhenOpened_(size) {}

    int fd_ = -1;
    unsigned long long sizeWhenOpened_ = 0;
    unsigned long long bytesRead_ = 0;
    bool readsStarted_ = false;
    bool atEnd_ = false;
    bool failed_ = false;
};

struct OpenedInput {
    InputFile file;        // not open when refused
    bool missing = false;  // refused because no entry has the name
};

// The file, when the entry under the path is a regular file. The entry is
// looked at before it is opened (a tape rewinds and a watchdog arms at the
// open alone), and what was opened must be the very file that was looked
// at, so an entry swapped in between is not read either. On Windows others
// may read the file while it is open, but not write it.
OpenedInput openRegularInput(const std::string& path);

struct OpenedFile {
    FileHandle file;       // open for reading in binary mode; null when refused
    bool missing = false;  // refused because no entry has the name
};

// The file as openRegularInput opens it, as a stdio stream.
OpenedFile openRegularFile(const std::string& path);

enum class FileRead { Read, Missing, Refused };

// The whole content of the file as openRegularInput opens it, at most
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
