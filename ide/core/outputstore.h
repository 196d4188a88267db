// The output window's lines: each line's text (UTF-16, as the window draws
// and selects it), its kind and, for a compiler message, its reading. Only
// the last lines are kept, up to a bound on their number and one on their
// text; older lines leave from the top. Appending costs the same however
// many lines are held: the text goes into large chunks that are reused, the
// lines' places into a ring, the readings into a list of their own beside
// the few lines that have one.
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
    // 128 MiB of text: the memory bound when the lines are long.
    static constexpr std::size_t kMaxCharacters = 64 * 1024 * 1024;

    explicit OutputStore(std::size_t maxLines = kMaxLines,
                         std::size_t maxCharacters = kMaxCharacters);

    void append(std::u16string_view text, LineKind kind,
                std::optional<MessageReading> message = std::nullopt);
    void clear();

    std::size_t lineCount() const { return lines_.size(); }
    std::size_t characterCount() const { return characters_; }  // of the lines, breaks not counted
    // Lines by number, 0 the oldest held.
    std::u16string_view text(std::size_t index) const;
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
    static constexpr std::size_t kChunkCharacters = 256 * 1024;

    struct Line {
        std::int64_t start;   // position since the last clear
        std::uint64_t chunk;  // serial number of the chunk that holds the text
        std::uint32_t offset;
        std::uint32_t length;
        LineKind kind;
    };

    char16_t* place(std::size_t length, std::uint64_t& chunk, std::uint32_t& offset);
    void dropOldest();

    std::size_t maxLines_;
    std::size_t maxCharacters_;
    std::deque<Line> lines_;
    std::deque<std::vector<char16_t>> chunks_;  // chunks_[0] has serial firstChunk_
    std::uint64_t firstChunk_ = 0;
    std::vector<char16_t> spare_;  // a chunk whose lines have all left, for reuse
    std::deque<std::pair<std::uint64_t, MessageReading>> messages_;  // by line serial
    std::size_t characters_ = 0;
    std::int64_t nextStart_ = 0;
    std::uint64_t dropped_ = 0;
};
