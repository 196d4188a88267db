#include "linereader.h"

#include <gtest/gtest.h>

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
