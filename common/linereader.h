// Reads a text file as DOS programs read it in text mode: physical lines of
// at most a fixed number of bytes, a carriage return right before a line feed
// dropped, a longer line handed out in several pieces.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "regularfile.h"

namespace common {

class LineReader {
  public:
    // Opens the file as openRegularInput does: a link, FIFO, device or
    // folder is never opened. Check isOpen().
    explicit LineReader(const std::string& path);
    // Reads a file the caller opened (not open: nothing to read).
    explicit LineReader(InputFile file);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return file_.isOpen(); }

    // The next piece: bytes up to and including the next line feed, at most
    // maxBytes of them. False at the end of the file with nothing read.
    bool next(std::string& piece, std::size_t maxBytes);

    // The same piece, seen in the reader's own buffer: valid until the next
    // call, with no copy of the line made. Here the common case, a line
    // feed among the bytes already read, without a call.
    bool next(std::string_view& piece, std::size_t maxBytes) {
        char* start = buffer_.get() + pos_;
        const std::size_t window = std::min(maxBytes, end_ - pos_);
        char* lf = window > 0 ? static_cast<char*>(std::memchr(start, '\n', window)) : nullptr;
        if (lf == nullptr) return nextAfterRead(piece, maxBytes);
        piece = lineUpTo(start, lf);
        return true;
    }

  private:
    // The line from start to its line feed lf, a carriage return before
    // the line feed taken out.
    std::string_view lineUpTo(char* start, char* lf) {
        pos_ += static_cast<std::size_t>(lf - start) + 1;
        if (lf == start || lf[-1] != '\r') return {start, static_cast<std::size_t>(lf - start) + 1};
        lf[-1] = '\n';
        return {start, static_cast<std::size_t>(lf - start)};
    }

    // The piece when no line feed is among the bytes read: more read, or
    // the piece ends at maxBytes or at the end of the file.
    bool nextAfterRead(std::string_view& piece, std::size_t maxBytes);

    // Moves the unread bytes to the front and reads more after them, with
    // room for at least `room` bytes in all.
    void fill(std::size_t room);

    InputFile file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
};

}  // namespace common
