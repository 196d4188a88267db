// The output window's line store: chunked text with each message's packed
// reading after its line, a ring of line places, trimmed from the top to
// its bounds.
#include "outputstore.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// Numbers in seven bits a byte, the low bits first.
std::size_t numberSize(std::uint64_t value) {
    std::size_t size = 1;
    for (; value >= 0x80; value >>= 7) ++size;
    return size;
}

char* putNumber(char* to, std::uint64_t value) {
    for (; value >= 0x80; value >>= 7) *to++ = static_cast<char>(value | 0x80);
    *to++ = static_cast<char>(value);
    return to;
}

std::uint64_t takeNumber(const char*& from) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*from++);
        value |= std::uint64_t{byte & 0x7Fu} << shift;
        if (byte < 0x80) return value;
    }
}

// True when the text begins with characters that stand for the bytes, one
// each.
bool beginsWith(const OutputStore::Text& text, std::string_view bytes) {
    if (!text.wide) return text.latin1.starts_with(bytes);
    if (text.utf16.size() < bytes.size()) return false;
    return std::equal(bytes.begin(), bytes.end(), text.utf16.begin(), [](char b, char16_t c) {
        return static_cast<char16_t>(static_cast<unsigned char>(b)) == c;
    });
}

// A text of a reading: the place of its characters in the line (an even
// number, then the length), or its length (odd) and its bytes. A message's
// file name mostly begins its line, and is then kept by its place there.
class PackedField {
  public:
    PackedField(const std::string& field, const OutputStore::Text* line)
        : field_(field), begins_(line != nullptr && !field.empty() && beginsWith(*line, field)) {}
    std::size_t size() const {
        return begins_ ? 1 + numberSize(field_.size()) : numberSize(tag()) + field_.size();
    }
    char* write(char* to) const {
        if (begins_) return putNumber(putNumber(to, 0), field_.size());
        to = putNumber(to, tag());
        std::memcpy(to, field_.data(), field_.size());
        return to + field_.size();
    }

  private:
    std::uint64_t tag() const { return (std::uint64_t{field_.size()} << 1) | 1; }

    const std::string& field_;
    bool begins_;
};

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

// A reading as it is kept after its line's text: its kind, line and column,
// then its file (by its place when it begins the line) and its number.
class OutputStore::PackedReading {
  public:
    PackedReading(const MessageReading& message, const Text& line)
        : message_(message), file_(message.file, &line), number_(message.number, nullptr) {}
    std::size_t size() const {
        return 1 + numberSize(message_.line) + numberSize(message_.column) + file_.size() +
               number_.size();
    }
    void write(char* to) const {
        *to++ = static_cast<char>(message_.kind);
        to = putNumber(to, message_.line);
        to = putNumber(to, message_.column);
        number_.write(file_.write(to));
    }

  private:
    const MessageReading& message_;
    PackedField file_;
    PackedField number_;
};

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
    Text given;
    if constexpr (sizeof(Char) == 1) {
        given.latin1 = text;
    } else {
        given.utf16 = text;
        given.wide = true;
    }
    std::optional<PackedReading> packed;
    if (message != nullptr) {
        packed.emplace(*message, given);
        const std::string& folder = message->directory;
        if (directories_.empty() ? !folder.empty() : directories_.back().second != folder)
            directories_.emplace_back(dropped_ + lines_.size(), folder);
    }
    std::uint16_t chunk = 0;
    std::uint32_t offset = 0;
    char* at = place(bytes + (packed ? packed->size() : 0), wide, chunk, offset);
    if (wide || sizeof(Char) == 1) {
        std::memcpy(at, text.data(), bytes);
    } else {
        std::transform(text.begin(), text.end(), at,
                       [](Char c) { return static_cast<char>(static_cast<unsigned char>(c)); });
    }
    if (packed) packed->write(at + bytes);
    const auto flags = static_cast<std::uint8_t>((wide ? kWide : 0) | (packed ? kRead : 0));
    lines_.push_back({nextStart_, offset, chunk, static_cast<std::uint8_t>(kind), flags});
    nextStart_ += static_cast<std::int64_t>(text.size()) + 1;
    bytes_ += bytes;
    // The newest line stays, however long it is.
    while (lines_.size() > 1 && (lines_.size() > maxLines_ || bytes_ > maxTextBytes_)) {
        dropOldest();
    }
}

// Room for `bytes` bytes at the end of the last chunk (at an even offset
// for UTF-16), or at the start of a new one (the spare one when it is large
// enough). A chunk's bytes are written before they are read: nothing clears
// them first.
char* OutputStore::place(std::size_t bytes, bool wide, std::uint16_t& chunk,
                         std::uint32_t& offset) {
    const auto aligned = [wide](std::size_t size) {
        return wide ? (size + 1) & ~std::size_t{1} : size;
    };
    if (chunks_.empty() || chunks_.back().capacity < aligned(chunks_.back().used) + bytes) {
        Chunk fresh;
        if (spare_.capacity >= bytes) {
            fresh = std::exchange(spare_, Chunk());
            fresh.used = 0;
        } else {
            fresh.capacity = std::max(kChunkBytes, bytes);
            fresh.bytes.reset(new char[fresh.capacity]);
        }
        if (chunks_.empty()) firstChunk_ = 0;
        chunks_.push_back(std::move(fresh));
    }
    Chunk& last = chunks_.back();
    chunk = static_cast<std::uint16_t>(firstChunk_ + chunks_.size() - 1);
    offset = static_cast<std::uint32_t>(aligned(last.used));
    last.used = offset + bytes;
    return last.bytes.get() + offset;
}

void OutputStore::keepSpare(Chunk& chunk) {
    if (chunk.capacity > spare_.capacity) std::swap(spare_, chunk);
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
        keepSpare(chunks_.front());
        chunks_.pop_front();
        ++firstChunk_;
    }
}

void OutputStore::clear() {
    lines_.clear();
    if (!chunks_.empty()) keepSpare(chunks_.front());
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
    const auto after =
        std::upper_bound(directories_.begin(), directories_.end(), serial,
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
