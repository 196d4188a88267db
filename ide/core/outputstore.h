// The output window's lines: each line's text (in UTF-16 units, as the
// window draws and selects it), its kind and, for a compiler message, its
// reading. Only the last lines are kept, up to a bound on their number and
// one on the memory of their text; older lines leave from the top.
// Appending costs the same however many lines are held: the text goes into
// large chunks that are reused, the lines' places into a ring, the readings
// into a list of their own beside the few lines that have one.
//
// A line whose characters are all below U+0100 (a build's lines nearly
// always are) is kept at one byte a character, any other at two, so the
// bound holds twice the lines of the common kind.
//
// Positions count UTF-16 units in the text of all held lines joined by one
// break each, the first line's first character at 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

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

    void append(std::u16string_view text, LineKind kind,
                std::optional<MessageReading> message = std::nullopt);
    void clear();

    std::size_t lineCount() const { return lines_.size(); }
    std::size_t textBytes() const { return bytes_; }  // of the held lines' text
    // Lines by number, 0 the oldest held.
    Text text(std::size_t index) const;
    LineKind kind(std::size_t index) const { return lines_[index].kind; }
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

    struct Line {
        std::int64_t start;   // position since the last clear
        std::uint32_t chunk;  // serial number of the chunk that holds the text, modulo 2^32
        std::uint32_t offset;
        std::uint32_t length;  // in characters
        LineKind kind;
        bool wide;
        std::size_t bytes() const { return wide ? 2 * std::size_t{length} : length; }
    };

    char* place(std::size_t bytes, bool wide, std::uint32_t& chunk, std::uint32_t& offset);
    const std::vector<char>& chunkOf(const Line& line) const {
        return chunks_[static_cast<std::uint32_t>(line.chunk - firstChunk_)];
    }
    void dropOldest();

    std::size_t maxLines_;
    std::size_t maxTextBytes_;
    std::deque<Line> lines_;
    std::deque<std::vector<char>> chunks_;  // chunks_[0] has serial firstChunk_
    std::uint32_t firstChunk_ = 0;
    std::vector<char> spare_;  // a chunk whose lines have all left, for reuse
    std::deque<std::pair<std::uint64_t, MessageReading>> messages_;  // by line serial
    std::size_t bytes_ = 0;
    std::int64_t nextStart_ = 0;
    std::uint64_t dropped_ = 0;
};
