// The output window's lines: each line's text (in UTF-16 units, as the
// window draws and selects it), its kind and, for a compiler message, its
// reading. Only the last lines are kept, up to a bound on their number and
// one on the memory of their text; older lines leave from the top.
// Appending costs the same however many lines are held: the text goes into
// large chunks that are reused, each line's place into a ring of 16 bytes a
// line, and a message's reading, packed, into the chunk right after its
// line's text.
//
// A line whose characters are all below U+0100 (a build's lines nearly
// always are) is kept at one byte a character, any other at two, so the
// bound holds twice the lines of the common kind. A reading names its file
// by its place in the line's own text when the line begins with it, as it
// nearly always does, and make's folder by a list of the folders in the
// order they came; packed so, a reading takes a few bytes.
//
// Positions count UTF-16 units in the text of all held lines joined by one
// break each, the first line's first character at 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "outputline.h"

class OutputStore {
  public:
    // Enough for any build worth reading; bounds one that prints without end.
    static constexpr std::size_t kMaxLines = 1000000;
    // The memory bound when the lines are long: 128 MiB of text.
    static constexpr std::size_t kMaxTextBytes = 128 * 1024 * 1024;

    // A held line's text, valid until the next append or clear.
    struct Text {
        std::string_view latin1;  // when not wide: one byte a character
        std::u16string_view utf16;
        bool wide = false;
        std::size_t size() const { return wide ? utf16.size() : latin1.size(); }
        char16_t operator[](std::size_t i) const {
            return wide ? utf16[i] : static_cast<unsigned char>(latin1[i]);
        }
        std::u16string copy() const;
    };

    explicit OutputStore(std::size_t maxLines = kMaxLines,
                         std::size_t maxTextBytes = kMaxTextBytes);

    void append(std::u16string_view text, LineKind kind, const MessageReading* message = nullptr);
    // A line whose characters are all below U+0100, one byte each.
    void appendLatin1(std::string_view text, LineKind kind,
                      const MessageReading* message = nullptr);
    void clear();

    std::size_t lineCount() const { return lines_.size(); }
    std::size_t textBytes() const { return bytes_; }  // of the held lines' text
    // Lines by number, 0 the oldest held.
    Text text(std::size_t index) const;
    LineKind kind(std::size_t index) const { return static_cast<LineKind>(lines_[index].kind); }
    // The reading of a message line, null for any other line; valid until
    // the next call, append or clear.
    const MessageReading* message(std::size_t index) const;

    // The position of a line's first character, and the length of the
    // joined text.
    std::int64_t start(std::size_t index) const { return lines_[index].start - origin(); }
    std::int64_t length() const;
    // The line that holds a position; a line's end (where its break is)
    // belongs to it. Past the end: the last line. Needs a line.
    std::size_t lineAt(std::int64_t position) const;

    // Lines that have left from the top since the last clear (the serial
    // number of the oldest held line), and where that line starts counted
    // since the clear: the view keeps its place and its selection by these.
    std::uint64_t droppedLines() const { return dropped_; }
    std::int64_t origin() const { return lines_.empty() ? 0 : lines_.front().start; }

  private:
    // Large enough that a chunk holds many lines, small enough that the one
    // kept for reuse costs little.
    static constexpr std::size_t kChunkBytes = 512 * 1024;

    // A line's place: where it starts in the joined text, where its text
    // (and its packed reading after it) lies, what it is. Its length is
    // where the next line starts, less the break.
    struct Line {
        std::int64_t start;    // position since the last clear
        std::uint32_t offset;  // of the text in its chunk
        std::uint16_t chunk;   // serial number of the chunk, modulo 2^16
        std::uint8_t kind;     // a LineKind
        std::uint8_t flags;    // kWide, kRead
    };
    static constexpr std::uint8_t kWide = 1;  // the text is UTF-16
    static constexpr std::uint8_t kRead = 2;  // a packed reading follows the text

    template <typename Char>
    void add(std::basic_string_view<Char> text, bool wide, LineKind kind,
             const MessageReading* message);
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };

    char* place(std::size_t bytes, bool wide, std::uint16_t& chunk, std::uint32_t& offset);
    void keepSpare(Chunk& chunk);
    const char* textOf(const Line& line) const {
        return chunks_[static_cast<std::uint16_t>(line.chunk - firstChunk_)].bytes.get() +
               line.offset;
    }
    std::size_t lengthOf(std::size_t index) const;
    std::size_t bytesOf(std::size_t index) const;
    class PackedReading;
    const std::string& directoryOf(std::uint64_t serial) const;
    void dropOldest();

    std::size_t maxLines_;
    std::size_t maxTextBytes_;
    std::deque<Line> lines_;
    std::deque<Chunk> chunks_;  // chunks_[0] has serial firstChunk_
    std::uint16_t firstChunk_ = 0;
    Chunk spare_;  // a chunk whose lines have all left, for reuse
    // make's folder of the readings: each from the serial of the first line
    // it is read with, in order.
    std::deque<std::pair<std::uint64_t, std::string>> directories_;
    mutable MessageReading unpacked_;  // the reading message() gave last
    std::size_t bytes_ = 0;
    std::int64_t nextStart_ = 0;
    std::uint64_t dropped_ = 0;
};
