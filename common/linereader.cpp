#include "linereader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace common {

namespace {

constexpr std::size_t kBufferSize = 16 * 1024;

}  // namespace

LineReader::LineReader(const std::string& path) : LineReader(openRegularFile(path).file) {}

LineReader::LineReader(FileHandle file) : file_(std::move(file)) {
    if (file_ == nullptr) return;
    // The reader buffers by itself: reads go straight into its own buffer.
    std::setvbuf(file_.get(), nullptr, _IONBF, 0);
    buffer_.reset(new char[kBufferSize]);
}

bool LineReader::fill() {
    // A short read already met the end: asking again would cost a system call.
    if (file_ == nullptr || std::feof(file_.get())) return false;
    end_ = std::fread(buffer_.get(), 1, kBufferSize, file_.get());
    pos_ = 0;
    return end_ > 0;
}

int LineReader::peekByte() {
    if (pos_ == end_ && !fill()) return EOF;
    return static_cast<unsigned char>(buffer_[pos_]);
}

bool LineReader::next(std::string& piece, std::size_t maxBytes) {
    piece.clear();
    while (piece.size() < maxBytes) {
        if (pos_ == end_ && !fill()) break;
        const char* start = buffer_.get() + pos_;
        const std::size_t window = std::min(maxBytes - piece.size(), end_ - pos_);
        if (const auto* lf = static_cast<const char*>(std::memchr(start, '\n', window))) {
            piece.append(start, lf);
            pos_ += static_cast<std::size_t>(lf - start) + 1;
            if (!piece.empty() && piece.back() == '\r') piece.pop_back();
            piece.push_back('\n');
            return true;
        }
        piece.append(start, window);
        pos_ += window;
        // A carriage return that fills the piece may still pair with a line feed.
        if (piece.size() == maxBytes && piece.back() == '\r' && peekByte() == '\n') {
            piece.back() = '\n';
            ++pos_;
            return true;
        }
    }
    return !piece.empty();
}

}  // namespace common
