#include "linereader.h"

#include <utility>

namespace common {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

LineReader::LineReader(const std::string& path) : LineReader(openRegularInput(path).file) {}

LineReader::LineReader(InputFile file) : file_(std::move(file)), open_(file_.isOpen()) {}

LineReader LineReader::ofBytes(std::string_view bytes) {
    return LineReader(HeldBytes{bytes});
}

// All of the bytes are in the buffer from the start, as after the last read.
LineReader::LineReader(HeldBytes held)
    : open_(true),
      buffer_(std::make_unique_for_overwrite<char[]>(held.bytes.size() + kSearchSlack)),
      capacity_(held.bytes.size()),
      end_(held.bytes.size()),
      atEnd_(true) {
    if (!held.bytes.empty()) std::memcpy(buffer_.get(), held.bytes.data(), held.bytes.size());
    std::memset(buffer_.get() + end_, 0, kSearchSlack);
}

void LineReader::fill(std::size_t room) {
    const std::size_t unread = end_ - pos_;
    if (room > capacity_) {
        const std::size_t capacity = std::max(room, kBufferSize);
        auto larger = std::make_unique_for_overwrite<char[]>(capacity + kSearchSlack);
        if (unread > 0) std::memcpy(larger.get(), buffer_.get() + pos_, unread);
        buffer_ = std::move(larger);
        capacity_ = capacity;
    } else if (pos_ > 0 && unread > 0) {
        std::memmove(buffer_.get(), buffer_.get() + pos_, unread);
    }
    pos_ = 0;
    end_ = unread;
    const std::size_t got = file_.read(buffer_.get() + end_, capacity_ - end_);
    end_ += got;
    std::memset(buffer_.get() + end_, 0, kSearchSlack);
    if (got == 0) atEnd_ = true;
}

bool LineReader::nextAfterRead(std::string_view& piece, std::size_t maxBytes) {
    if (maxBytes == 0) return false;
    // A piece of maxBytes is known once the byte after it is: a carriage
    // return that fills the piece may still pair with a line feed.
    while (end_ - pos_ <= maxBytes && !atEnd_ && isOpen()) {
        const std::size_t searched = end_ - pos_;
        fill(maxBytes + 1);
        char* start = buffer_.get() + pos_;
        const std::size_t window = std::min(maxBytes, end_ - pos_);
        if (window <= searched) continue;
        if (char* lf = findLineFeed(start + searched, window - searched)) {
            piece = lineUpTo(start, lf);
            return true;
        }
    }
    char* start = buffer_.get() + pos_;
    const std::size_t unread = end_ - pos_;
    if (unread == 0) return false;
    const std::size_t length = std::min(maxBytes, unread);
    pos_ += length;
    if (length == maxBytes && start[length - 1] == '\r' && unread > length &&
        start[length] == '\n') {
        start[length - 1] = '\n';
        ++pos_;
    }
    piece = std::string_view(start, length);
    return true;
}

std::size_t LineReader::skipLinesWithout(char byte, std::size_t maxBytes) {
    std::size_t skipped = 0;
#ifdef __SSE2__
    // Each block of 16 bytes gives the line feeds and the bytes wanted in
    // it as bit masks; the lines that end before the first wanted byte go.
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    const __m128i wanted = _mm_set1_epi8(byte);
    std::size_t lineStart = pos_;
    for (std::size_t at = pos_; at < end_; at += kSearchSlack) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer_.get() + at));
        const std::size_t left = end_ - at;
        const unsigned read = left >= kSearchSlack ? 0xFFFFu : (1u << left) - 1;
        unsigned feeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeeds)));
        const unsigned hits =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted))) & read;
        feeds &= hits != 0 ? (hits & (0u - hits)) - 1 : read;
        for (; feeds != 0; feeds &= feeds - 1) {
            const std::size_t lf = at + static_cast<std::size_t>(__builtin_ctz(feeds));
            // A line of more than one piece is left to next().
            if (lf - lineStart >= maxBytes) {
                pos_ = lineStart;
                return skipped;
            }
            ++skipped;
            lineStart = lf + 1;
        }
        if (hits != 0) break;
    }
    pos_ = lineStart;
#else
    (void)byte;
    (void)maxBytes;
#endif
    return skipped;
}

bool LineReader::next(std::string& piece, std::size_t maxBytes) {
    std::string_view view;
    if (!next(view, maxBytes)) {
        piece.clear();
        return false;
    }
    piece.assign(view);
    return true;
}

}  // namespace common
