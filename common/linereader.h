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

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "regularfile.h"

namespace common {

class LineReader {
  public:
    // Opens the file as openRegularInput does: a link, FIFO, device or
    // folder is never opened. Check isOpen().
    explicit LineReader(const std::string& path);
    // Reads a file the caller opened (not open: nothing to read).
    explicit LineReader(InputFile file);
    // Reads these bytes as a file that holds them would be read (a folder
    // kept in memory, as tests keep one).
    static LineReader ofBytes(std::string_view bytes);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return open_; }

    // The next piece: bytes up to and including the next line feed, at most
    // maxBytes of them. False at the end of the file with nothing read.
    bool next(std::string& piece, std::size_t maxBytes);

    // The same piece, seen in the reader's own buffer: valid until the next
    // call, with no copy of the line made. Here the common case, a line
    // feed among the bytes already read, without a call.
    bool next(std::string_view& piece, std::size_t maxBytes) {
        char* start = buffer_.get() + pos_;
        char* lf = findLineFeed(start, std::min(maxBytes, end_ - pos_));
        if (lf == nullptr) return nextAfterRead(piece, maxBytes);
        piece = lineUpTo(start, lf);
        return true;
    }

    // Passes over the whole lines among the bytes already read that hold
    // no `byte`, each a single piece of at most maxBytes, up to the first
    // line that holds one; the count of lines passed over. Where the
    // processor cannot compare 16 bytes at once, none is passed over.
    std::size_t skipLinesWithout(char byte, std::size_t maxBytes);

  private:
    struct HeldBytes {
        std::string_view bytes;
    };
    explicit LineReader(HeldBytes held);

    // Bytes after the read ones that a search may look at, as zeros.
    static constexpr std::size_t kSearchSlack = 16;

    // The first line feed among the n bytes at p, or null. Lines are
    // short: 16 bytes are compared at once where the processor can, each
    // search a few instructions rather than a call.
    static char* findLineFeed(char* p, std::size_t n) {
#ifdef __SSE2__
        const __m128i lineFeeds = _mm_set1_epi8('\n');
        for (std::size_t at = 0; at < n; at += kSearchSlack) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
            const unsigned found =
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeeds)));
            if (found == 0) continue;
            const std::size_t lf = at + static_cast<std::size_t>(__builtin_ctz(found));
            return lf < n ? p + lf : nullptr;
        }
        return nullptr;
#else
        return n > 0 ? static_cast<char*>(std::memchr(p, '\n', n)) : nullptr;
#endif
    }

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
    bool open_ = false;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
};

}  // namespace common
