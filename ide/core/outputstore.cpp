// The output window's line store: chunked text with each message's packed
// reading after its line, a ring of line places, trimmed from the top to
// its bounds.
#include "outputstore.h"

#include <algorithm>
#include <cstring>

namespace {

// A file name or a message number longer than this is kept as it is,
// without looking for it in its line.
constexpr std::size_t kLongestLookedFor = 256;

// Numbers in seven bits a byte, the low bits first.
void putNumber(std::string& to, std::uint64_t value) {
    for (; value >= 0x80; value >>= 7) to += static_cast<char>(value | 0x80);
    to += static_cast<char>(value);
}

std::uint64_t takeNumber(const char*& from) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*from++);
        value |= std::uint64_t{byte & 0x7Fu} << shift;
        if (byte < 0x80) return value;
    }
}

// Where a character of the text stands for each byte in turn; npos when
// nowhere.
std::size_t findIn(const OutputStore::Text& text, std::string_view bytes) {
    if (!text.wide) return text.latin1.find(bytes);
    std::u16string wide(bytes.size(), u'\0');
    std::transform(bytes.begin(), bytes.end(), wide.begin(),
                   [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
    return text.utf16.find(wide);
}

// A text of a reading: the place of its characters in the line (an even
// number, then the length), or its length (odd) and its bytes.
void putField(std::string& to, const std::string& field, const OutputStore::Text& line) {
    if (!field.empty() && field.size() <= kLongestLookedFor) {
        const std::size_t at = findIn(line, field);
        if (at != std::string_view::npos) {
            putNumber(to, std::uint64_t{at} << 1);
            putNumber(to, field.size());
            return;
        }
    }
    putNumber(to, (std::uint64_t{field.size()} << 1) | 1);
    to += field;
}

void takeField(const char*& from, const OutputStore::Text& line, std::string& field) {
    const std::uint64_t tag = takeNumber(from);
    if ((tag & 1) != 0) {
        const auto size = static_cast<std::size_t>(tag >> 1);
        field.assign(from, size);
        from += size;
        return;
    }
    const auto at = static_cast<std::size_t>(tag >> 1);
    field.resize(static_cast<std::size_t>(takeNumber(from)));
    for (std::size_t i = 0; i < field.size(); ++i) field[i] = static_cast<char>(line[at + i]);
}

}  // namespace

OutputStore::OutputStore(std::size_t maxLines, std::size_t maxTextBytes)
    : maxLines_(std::max<std::size_t>(maxLines, 1)), maxTextBytes_(maxTextBytes) {}

std::u16string OutputStore::Text::copy() const {
    if (wide) return std::u16string(utf16);
    std::u16string text(latin1.size(), u'\0');
    std::transform(latin1.begin(), latin1.end(), text.begin(),
                   [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
    return text;
}

void OutputStore::append(std::u16string_view text, LineKind kind, const MessageReading* message) {
    // One pass without a branch, which the compiler turns into vector code.
    char16_t bits = 0;
    for (const char16_t c : text) bits |= c;
    add(text, bits > 0xFF, kind, message);
}

void OutputStore::appendLatin1(std::string_view text, LineKind kind,
                               const MessageReading* message) {
    add(text, false, kind, message);
}

template <typename Char>
void OutputStore::add(std::basic_string_view<Char> text, bool wide, LineKind kind,
                      const MessageReading* message) {
    const std::size_t bytes = wide ? 2 * text.size() : text.size();
    std::uint8_t flags = wide ? kWide : 0;
    packed_.clear();
    if (message != nullptr) {
        Text given;
        if constexpr (sizeof(Char) == 1) {
            given.latin1 = text;
        } else {
            given.utf16 = text;
            given.wide = true;
        }
        pack(*message, given);
        flags |= kRead;
        const std::string& folder = message->directory;
        if (directories_.empty() ? !folder.empty() : directories_.back().second != folder)
            directories_.emplace_back(dropped_ + lines_.size(), folder);
    }
    std::uint16_t chunk = 0;
    std::uint32_t offset = 0;
    char* at = place(bytes + packed_.size(), wide, chunk, offset);
    if (wide || sizeof(Char) == 1) {
        std::memcpy(at, text.data(), bytes);
    } else {
        std::transform(text.begin(), text.end(), at,
                       [](Char c) { return static_cast<char>(static_cast<unsigned char>(c)); });
    }
    std::memcpy(at + bytes, packed_.data(), packed_.size());
    lines_.push_back({nextStart_, offset, chunk, static_cast<std::uint8_t>(kind), flags});
    nextStart_ += static_cast<std::int64_t>(text.size()) + 1;
    bytes_ += bytes;
    // The newest line stays, however long it is.
    while (lines_.size() > 1 && (lines_.size() > maxLines_ || bytes_ > maxTextBytes_)) {
        dropOldest();
    }
}

// The reading in packed_: its kind, line and column, then its file and its
// number, each by its place in the line where it stands there.
void OutputStore::pack(const MessageReading& message, const Text& text) {
    packed_ += static_cast<char>(message.kind);
    putNumber(packed_, message.line);
    putNumber(packed_, message.column);
    putField(packed_, message.file, text);
    putField(packed_, message.number, text);
}

// Room for `bytes` bytes at the end of the last chunk (at an even offset
// for UTF-16), or at the start of a new one (the spare one when it is large
// enough).
char* OutputStore::place(std::size_t bytes, bool wide, std::uint16_t& chunk,
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
    chunk = static_cast<std::uint16_t>(firstChunk_ + chunks_.size() - 1);
    offset = static_cast<std::uint32_t>(aligned(last.size()));
    last.resize(offset + bytes);  // within the capacity: nothing moves
    return last.data() + offset;
}

std::size_t OutputStore::lengthOf(std::size_t index) const {
    const std::int64_t next = index + 1 < lines_.size() ? lines_[index + 1].start : nextStart_;
    return static_cast<std::size_t>(next - lines_[index].start - 1);
}

std::size_t OutputStore::bytesOf(std::size_t index) const {
    return (lines_[index].flags & kWide) != 0 ? 2 * lengthOf(index) : lengthOf(index);
}

void OutputStore::dropOldest() {
    bytes_ -= bytesOf(0);
    lines_.pop_front();
    ++dropped_;
    while (directories_.size() > 1 && directories_[1].first <= dropped_) directories_.pop_front();
    // Chunks before the new oldest line's hold only lines that have left.
    const std::uint16_t keep = lines_.front().chunk;
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
    directories_.clear();
    bytes_ = 0;
    nextStart_ = 0;
    dropped_ = 0;
}

OutputStore::Text OutputStore::text(std::size_t index) const {
    const Line& line = lines_[index];
    const char* at = textOf(line);
    const std::size_t length = lengthOf(index);
    if ((line.flags & kWide) == 0) return {{at, length}, {}, false};
    return {{}, {reinterpret_cast<const char16_t*>(at), length}, true};
}

const MessageReading* OutputStore::message(std::size_t index) const {
    if (index >= lines_.size() || (lines_[index].flags & kRead) == 0) return nullptr;
    const Text line = text(index);
    const char* from = textOf(lines_[index]) + bytesOf(index);
    unpacked_.kind = static_cast<LineKind>(*from++);
    unpacked_.line = static_cast<unsigned long>(takeNumber(from));
    unpacked_.column = static_cast<unsigned long>(takeNumber(from));
    takeField(from, line, unpacked_.file);
    takeField(from, line, unpacked_.number);
    unpacked_.directory = directoryOf(dropped_ + index);
    return &unpacked_;
}

const std::string& OutputStore::directoryOf(std::uint64_t serial) const {
    static const std::string none;
    const auto after = std::upper_bound(
        directories_.begin(), directories_.end(), serial,
        [](std::uint64_t s, const auto& entry) { return s < entry.first; });
    return after == directories_.begin() ? none : std::prev(after)->second;
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
