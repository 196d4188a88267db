#include "linereader.h"

namespace common {

LineReader::LineReader(const std::string& path) : file_(std::fopen(path.c_str(), "rb")), buffer_(1 << 16) {}

LineReader::~LineReader() {
    if (file_ != nullptr) std::fclose(file_);
}

bool LineReader::fill() {
    if (file_ == nullptr) return false;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    pos_ = 0;
    return end_ > 0;
}

int LineReader::peekByte() {
    if (pos_ == end_ && !fill()) return EOF;
    return static_cast<unsigned char>(buffer_[pos_]);
}

int LineReader::takeByte() {
    const int c = peekByte();
    if (c != EOF) ++pos_;
    return c;
}

bool LineReader::next(std::string& piece, std::size_t maxBytes) {
    piece.clear();
    while (piece.size() < maxBytes) {
        int c = takeByte();
        if (c == EOF) break;
        if (c == '\r' && peekByte() == '\n') c = takeByte();
        piece.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !piece.empty();
}

}  // namespace common
