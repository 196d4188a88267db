// The host files dosrun itself reads and writes: never through a link,
// never waiting on a FIFO or device, a new file never over an old one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dosrun {

// A file descriptor, closed at the end of its scope.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    void reset(int fd = -1);
    int get() const { return fd_; }

  private:
    int fd_;
};

// Creates the file (mode 0600), which must not exist yet, with the text.
bool WriteNewFile(const std::string& path, std::string_view text);

// The content of a regular file of at most `limit` bytes, as
// common::readRegularFile reads it; nothing for a link, anything but a
// regular file, a larger file, or a failed read.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit);

// The last `count` lines of a text file (as ReadRegularFile reads it, its
// last 64 KiB), without empty ones, each cut after `width` bytes and with
// its control characters shown as "?".
std::vector<std::string> LastLines(const std::string& path, std::size_t count, std::size_t width);

// Writes all of the text; 0, else the errno of the failed write.
int WriteAll(int fd, std::string_view text);

}  // namespace dosrun
