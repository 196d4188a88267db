// The output window's line store: chunked text, a ring of line places and
// the readings of the message lines, trimmed from the top to its bounds.
#include "outputstore.h"

#include <algorithm>
#include <cstring>

OutputStore::OutputStore(std::size_t maxLines, std::size_t maxTextBytes)
    : maxLines_(std::max<std::size_t>(maxLines, 1)), maxTextBytes_(maxTextBytes) {}

std::u16string OutputStore::Text::copy() const {
    if (wide) return std::u16string(utf16);
    std::u16string text(latin1.size(), u'\0');
    std::transform(latin1.begin(), latin1.end(), text.begin(),
                   [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
    return text;
}

void OutputStore::append(std::u16string_view text, LineKind kind,
                         std::optional<MessageReading> message) {
    // One pass without a branch, which the compiler turns into vector code.
    char16_t bits = 0;
    for (const char16_t c : text) bits |= c;
    const bool wide = bits > 0xFF;
    const std::size_t bytes = wide ? 2 * text.size() : text.size();
    std::uint32_t chunk = 0;
    std::uint32_t offset = 0;
    char* at = place(bytes, wide, chunk, offset);
    if (wide) {
        std::memcpy(at, text.data(), bytes);
    } else {
        std::transform(text.begin(), text.end(), at,
                       [](char16_t c) { return static_cast<char>(static_cast<unsigned char>(c)); });
    }
    if (message) messages_.emplace_back(dropped_ + lines_.size(), std::move(*message));
    lines_.push_back(
        {nextStart_, chunk, offset, static_cast<std::uint32_t>(text.size()), kind, wide});
    nextStart_ += static_cast<std::int64_t>(text.size()) + 1;
    bytes_ += bytes;
    // The newest line stays, however long it is.
    while (lines_.size() > 1 && (lines_.size() > maxLines_ || bytes_ > maxTextBytes_)) {
        dropOldest();
    }
}

// Room for `bytes` bytes at the end of the last chunk (at an even offset
// for UTF-16), or at the start of a new one (the spare one when it is large
// enough).
char* OutputStore::place(std::size_t bytes, bool wide, std::uint32_t& chunk,
                         std::uint32_t& offset) {
    const auto aligned = [wide](std::size_t size) {
        return wide ? (size + 1) & ~std::size_t{1} : size;
    };
    if (chunks_.empty() || chunks_.back().capacity() < aligned(chunks_.back().size()) + bytes) {
        std::vector<char> fresh;
        if (spare_.capacity() >= bytes) {
            fresh.swap(spare_);
            fresh.clear();
        } else {
            fresh.reserve(std::max(kChunkBytes, bytes));
        }
        if (chunks_.empty()) firstChunk_ = 0;
        chunks_.push_back(std::move(fresh));
    }
    std::vector<char>& last = chunks_.back();
    chunk = static_cast<std::uint32_t>(firstChunk_ + chunks_.size() - 1);
    offset = static_cast<std::uint32_t>(aligned(last.size()));
    last.resize(offset + bytes);  // within the capacity: nothing moves
    return last.data() + offset;
}

void OutputStore::dropOldest() {
    bytes_ -= lines_.front().bytes();
    if (!messages_.empty() && messages_.front().first == dropped_) messages_.pop_front();
    lines_.pop_front();
    ++dropped_;
    // Chunks before the new oldest line's hold only lines that have left.
    const std::uint32_t keep = lines_.front().chunk;
    while (firstChunk_ != keep) {
        if (chunks_.front().capacity() > spare_.capacity()) spare_.swap(chunks_.front());
        chunks_.pop_front();
        ++firstChunk_;
    }
}

void OutputStore::clear() {
    lines_.clear();
    if (!chunks_.empty() && chunks_.front().capacity() > spare_.capacity()) {
        spare_.swap(chunks_.front());
    }
    chunks_.clear();
    firstChunk_ = 0;
    messages_.clear();
    bytes_ = 0;
    nextStart_ = 0;
    dropped_ = 0;
}

OutputStore::Text OutputStore::text(std::size_t index) const {
    const Line& line = lines_[index];
    const char* at = chunkOf(line).data() + line.offset;
    if (!line.wide) return {{at, line.length}, {}, false};
    return {{}, {reinterpret_cast<const char16_t*>(at), line.length}, true};
}

const MessageReading* OutputStore::message(std::size_t index) const {
    if (index >= lines_.size()) return nullptr;
    const std::uint64_t serial = dropped_ + index;
    const auto found =
        std::lower_bound(messages_.begin(), messages_.end(), serial,
                         [](const auto& entry, std::uint64_t s) { return entry.first < s; });
    return found != messages_.end() && found->first == serial ? &found->second : nullptr;
}

std::int64_t OutputStore::length() const {
    return lines_.empty() ? 0 : nextStart_ - 1 - origin();
}

std::size_t OutputStore::lineAt(std::int64_t position) const {
    const std::int64_t absolute = position + origin();
    const auto after =
        std::upper_bound(lines_.begin(), lines_.end(), absolute,
                         [](std::int64_t p, const Line& line) { return p < line.start; });
    return after == lines_.begin() ? 0 : static_cast<std::size_t>(after - lines_.begin() - 1);
}
