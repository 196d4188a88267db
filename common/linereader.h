// Reads a text file as DOS programs read it in text mode: physical lines of
// at most a fixed number of bytes, a carriage return right before a line feed
// dropped, a longer line handed out in several pieces.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "regularfile.h"

namespace common {

class LineReader {
  public:
    // Opens the file as openRegularFile does: a link, FIFO, device or folder
    // is never opened. Check isOpen().
    explicit LineReader(const std::string& path);
    // Reads a file the caller opened (null: not open).
    explicit LineReader(FileHandle file);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return file_ != nullptr; }

    // The next piece: bytes up to and including the next line feed, at most
    // maxBytes of them. False at the end of the file with nothing read.
    bool next(std::string& piece, std::size_t maxBytes);

  private:
    bool fill();
    int peekByte();

    FileHandle file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

}  // namespace common
