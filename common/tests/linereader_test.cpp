#include "linereader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tempfolder.h"

namespace {

std::vector<std::string> readAll(const std::string& content, std::size_t maxBytes) {
    // A folder of its own: the tests of this program run side by side.
    const TempFolder folder("linereader-");
    const auto path = folder.path() / "lines.txt";
    std::ofstream(path, std::ios::binary) << content;
    std::vector<std::string> pieces;
    {
        common::LineReader reader(path.string());
        EXPECT_TRUE(reader.isOpen());
        std::string piece;
        while (reader.next(piece, maxBytes)) pieces.push_back(piece);
    }
    return pieces;
}

}  // namespace

TEST(LineReader, DropsCarriageReturnOnlyBeforeLineFeed) {
    const std::vector<std::string> expected{"a\n", "b\rc\n", "\n", "last"};
    EXPECT_EQ(readAll("a\r\nb\rc\r\n\r\nlast", 4096), expected);
}

TEST(LineReader, SplitsLongLinesIntoPieces) {
    const std::vector<std::string> expected{"abcd", "ef\n", "gh"};
    EXPECT_EQ(readAll("abcdef\ngh", 4), expected);
    // A CR LF pair straddling the limit still counts as one line end.
    const std::vector<std::string> crlf{"abc\n"};
    EXPECT_EQ(readAll("abc\r\n", 4), crlf);
}

TEST(LineReader, LongFileAcrossBufferRefills) {
    std::string content;
    for (int i = 0; i < 20000; ++i) content += "line " + std::to_string(i) + "\r\n";
    const auto pieces = readAll(content, 4096);
    ASSERT_EQ(pieces.size(), 20000u);
    EXPECT_EQ(pieces[12345], "line 12345\n");
}

TEST(LineReader, MissingFileIsNotOpen) {
    common::LineReader reader("/nonexistent/dir/file");
    EXPECT_FALSE(reader.isOpen());
    std::string piece;
    EXPECT_FALSE(reader.next(piece, 10));
}

namespace {

// The pieces as the rule states it, byte by byte: up to and including a
// line feed, at most maxBytes, a carriage return right before the line
// feed dropped, also where it fills the piece and the line feed follows.
std::vector<std::string> piecesByTheRule(const std::string& content, std::size_t maxBytes) {
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::string piece;
        while (pos < content.size() && piece.size() < maxBytes &&
               (piece.empty() || piece.back() != '\n')) {
            const char c = content[pos++];
            if (c == '\n' && !piece.empty() && piece.back() == '\r') piece.pop_back();
            piece += c;
        }
        if (piece.size() == maxBytes && piece.back() == '\r' && pos < content.size() &&
            content[pos] == '\n') {
            piece.back() = '\n';
            ++pos;
        }
        pieces.push_back(piece);
    }
    return pieces;
}

// Where the pieces first differ, shown short (the pieces may be 64 KiB
// long); empty when they are the same.
std::string firstDifference(const std::vector<std::string>& seen,
                            const std::vector<std::string>& expected) {
    auto shown = [](const std::vector<std::string>& pieces, std::size_t i) {
        if (i >= pieces.size()) return std::string("none");
        const std::string& piece = pieces[i];
        std::string ends =
            piece.size() <= 16 ? piece : piece.substr(0, 8) + ".." + piece.substr(piece.size() - 6);
        for (char& c : ends) c = c == '\n' ? '$' : c == '\r' ? '^' : c;
        return std::to_string(piece.size()) + " bytes " + ends;
    };
    for (std::size_t i = 0; i < std::max(seen.size(), expected.size()); ++i) {
        if (i < seen.size() && i < expected.size() && seen[i] == expected[i]) continue;
        return "piece " + std::to_string(i) + ": " + shown(seen, i) + ", not " + shown(expected, i);
    }
    return "";
}

}  // namespace

// Lines and line ends where the reader's buffer ends and is read again,
// pieces as long as the buffer or longer, both ways of taking a piece.
TEST(LineReader, PiecesAcrossTheBufferAsTheRuleCutsThem) {
    constexpr std::size_t kBuffer = 64 * 1024;
    const std::string longLine(kBuffer + 100, 'x');
    struct Case {
        const char* what;
        std::string content;
        std::size_t maxBytes;
    };
    const std::vector<Case> cases{
        {"CR LF split by the buffer's end", std::string(kBuffer - 1, 'a') + "\r\nb\r\n", 4096},
        {"CR filling a piece at the buffer's end", std::string(kBuffer - 1, 'a') + "\r\n", 4096},
        {"line feed right at the buffer's end", std::string(kBuffer - 1, 'a') + "\nz", 4096},
        {"a line longer than the buffer", longLine + "\r\n" + longLine, 4096},
        {"pieces longer than the buffer", longLine + "\r\nend\r", kBuffer + 10},
        {"one byte pieces", "ab\r\n\r\r\n", 1},
        {"CR at the very end", "a\r", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> expected = piecesByTheRule(c.content, c.maxBytes);
        EXPECT_EQ(firstDifference(readAll(c.content, c.maxBytes), expected), "");

        const TempFolder folder("linereader-");
        const auto path = folder.path() / "lines.txt";
        std::ofstream(path, std::ios::binary) << c.content;
        common::LineReader reader(path.string());
        std::vector<std::string> seen;
        for (std::string_view piece; reader.next(piece, c.maxBytes);) seen.emplace_back(piece);
        EXPECT_EQ(firstDifference(seen, expected), "");

        // The same bytes held in memory come in the same pieces.
        common::LineReader held = common::LineReader::ofBytes(c.content);
        std::vector<std::string> heldPieces;
        for (std::string_view piece; held.next(piece, c.maxBytes);) heldPieces.emplace_back(piece);
        EXPECT_EQ(firstDifference(heldPieces, expected), "");
    }
}

// Lines passed over are whole pieces without the byte, counted as such:
// every piece that holds it still comes, with its number, as reading each
// piece would give it.
TEST(LineReader, LinesWithoutTheByteArePassedOverAndCounted) {
    constexpr std::size_t kBuffer = 64 * 1024;
    std::string mixed;
    for (int i = 0; i < 6000; ++i) {
        mixed += i % 7 == 0 ? "#line " : "    code ";
        mixed += std::to_string(i) + (i % 3 == 0 ? "\r\n" : "\n");
    }
    struct Case {
        const char* what;
        std::string content;
        std::size_t maxBytes;
    };
    const std::vector<Case> cases{
        {"lines across several buffers", mixed, 4096},
        {"lines as long as a piece",
         std::string(15, 'a') + "\n" + std::string(16, 'b') + "\n#\n" + std::string(17, 'c') +
             "\r\n#x",
         16},
        {"a long line before the byte", std::string(5000, 'x') + "\n#here\n", 4096},
        {"the byte in a line split by the buffer's end",
         std::string(kBuffer - 3, 'a') + "\nb#c\nd\n#", 4096},
        {"no byte at all", "a\nb\r\nc", 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> expected;
        std::size_t number = 1;
        for (const std::string& piece : piecesByTheRule(c.content, c.maxBytes)) {
            if (piece.find('#') != std::string::npos)
                expected.push_back(std::to_string(number) + ": " + piece);
            ++number;
        }
        const TempFolder folder("linereader-");
        const auto path = folder.path() / "lines.txt";
        std::ofstream(path, std::ios::binary) << c.content;
        common::LineReader reader(path.string());
        std::vector<std::string> seen;
        std::string_view piece;
        for (number = 1;; ++number) {
            number += reader.skipLinesWithout('#', c.maxBytes);
            if (!reader.next(piece, c.maxBytes)) break;
            if (piece.find('#') != std::string_view::npos)
                seen.push_back(std::to_string(number) + ": " + std::string(piece));
        }
        EXPECT_EQ(firstDifference(seen, expected), "");
        EXPECT_EQ(number - 1, piecesByTheRule(c.content, c.maxBytes).size());
    }
}
