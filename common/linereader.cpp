#include "linereader.h"

#include <utility>

namespace common {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

LineReader::LineReader(const std::string& path) : LineReader(openRegularInput(path).file) {}

LineReader::LineReader(InputFile file) : file_(std::move(file)) {}

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
