// The output window's line store: chunked text, a ring of line places and
// the readings of the message lines, trimmed from the top to its bounds.
#include "outputstore.h"

#include <algorithm>

OutputStore::OutputStore(std::size_t maxLines, std::size_t maxCharacters)
    : maxLines_(std::max<std::size_t>(maxLines, 1)), maxCharacters_(maxCharacters) {}

void OutputStore::append(std::u16string_view text, LineKind kind,
                         std::optional<MessageReading> message) {
    std::uint64_t chunk = 0;
    std::uint32_t offset = 0;
    std::copy(text.begin(), text.end(), place(text.size(), chunk, offset));
    if (message) messages_.emplace_back(dropped_ + lines_.size(), std::move(*message));
    lines_.push_back({nextStart_, chunk, offset, static_cast<std::uint32_t>(text.size()), kind});
    nextStart_ += static_cast<std::int64_t>(text.size()) + 1;
    characters_ += text.size();
    // The newest line stays, however long it is.
    while (lines_.size() > 1 && (lines_.size() > maxLines_ || characters_ > maxCharacters_)) {
        dropOldest();
    }
}

// Room for `length` characters at the end of the last chunk, or at the
// start of a new one (the spare one when it is large enough).
char16_t* OutputStore::place(std::size_t length, std::uint64_t& chunk, std::uint32_t& offset) {
    if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < length) {
        std::vector<char16_t> fresh;
        if (spare_.capacity() >= length) {
            fresh.swap(spare_);
            fresh.clear();
        } else {
            fresh.reserve(std::max(kChunkCharacters, length));
        }
        if (chunks_.empty()) firstChunk_ = 0;
        chunks_.push_back(std::move(fresh));
    }
    std::vector<char16_t>& last = chunks_.back();
    chunk = firstChunk_ + chunks_.size() - 1;
    offset = static_cast<std::uint32_t>(last.size());
    last.resize(last.size() + length);  // within the capacity: nothing moves
    return last.data() + offset;
}

void OutputStore::dropOldest() {
    const Line& oldest = lines_.front();
    characters_ -= oldest.length;
    if (!messages_.empty() && messages_.front().first == dropped_) messages_.pop_front();
    lines_.pop_front();
    ++dropped_;
    // Chunks before the new oldest line's hold only lines that have left.
    const std::uint64_t keep = lines_.front().chunk;
    while (firstChunk_ < keep) {
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
    characters_ = 0;
    nextStart_ = 0;
    dropped_ = 0;
}

std::u16string_view OutputStore::text(std::size_t index) const {
    const Line& line = lines_[index];
    const std::vector<char16_t>& chunk = chunks_[line.chunk - firstChunk_];
    return {chunk.data() + line.offset, line.length};
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
