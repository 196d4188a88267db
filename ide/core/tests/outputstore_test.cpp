// The output window's line store: lines read back as appended across many
// chunks, positions of the joined text, the two bounds, and the readings of
// message lines following their lines as older ones leave.
#include "outputstore.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string numbered(std::size_t n, std::size_t length = 0) {
    std::u16string text;
    for (char c : std::to_string(n)) text += static_cast<char16_t>(c);
    if (text.size() < length) text.append(length - text.size(), u'x');
    return text;
}

MessageReading readingAt(unsigned long line) {
    MessageReading reading;
    reading.kind = LineKind::Warning;
    reading.file = "a.c";
    reading.line = line;
    return reading;
}

TEST(OutputStore, LinesReadBackAsAppendedAcrossChunks) {
    OutputStore store;
    // About 4 MB of text: many chunks, and lines longer than a chunk.
    const std::size_t count = 3000;
    for (std::size_t i = 0; i < count; ++i) {
        store.append(numbered(i, i % 1000 == 999 ? 300000 : i % 700), LineKind::Plain);
    }
    ASSERT_EQ(store.lineCount(), count);
    std::int64_t position = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(store.text(i).copy(), numbered(i, i % 1000 == 999 ? 300000 : i % 700)) << i;
        ASSERT_EQ(store.start(i), position);
        ASSERT_EQ(store.lineAt(position), i);
        position += static_cast<std::int64_t>(store.text(i).size()) + 1;
    }
    EXPECT_EQ(store.length(), position - 1);
}

TEST(OutputStore, PositionsOfTheJoinedText) {
    OutputStore store;
    EXPECT_EQ(store.length(), 0);
    store.append(u"one", LineKind::Plain);
    store.append(u"", LineKind::Plain);
    store.append(u"three", LineKind::Summary);
    EXPECT_EQ(store.length(), 10);  // "one\n\nthree"
    EXPECT_EQ(store.start(2), 5);
    EXPECT_EQ(store.lineAt(3), 0u);  // the end of a line belongs to it
    EXPECT_EQ(store.lineAt(4), 1u);
    EXPECT_EQ(store.lineAt(5), 2u);
    EXPECT_EQ(store.lineAt(99), 2u);
    EXPECT_EQ(store.kind(2), LineKind::Summary);
    // Whatever a line holds, it stays one line.
    store.append(u"a\u2029b\u2028c\nd\fe", LineKind::Plain);
    EXPECT_EQ(store.lineCount(), 4u);
    EXPECT_EQ(store.text(3).copy(), u"a\u2029b\u2028c\nd\fe");
}

TEST(OutputStore, KeepsTheLastLinesAndShiftsPositions) {
    OutputStore store(100, 1000000);
    for (std::size_t i = 0; i < 250; ++i) store.append(numbered(i), LineKind::Plain);
    EXPECT_EQ(store.lineCount(), 100u);
    EXPECT_EQ(store.droppedLines(), 150u);
    EXPECT_EQ(store.text(0).copy(), u"150");
    EXPECT_EQ(store.text(99).copy(), u"249");
    EXPECT_EQ(store.start(0), 0);
    EXPECT_EQ(store.start(1), 4);
    EXPECT_EQ(store.lineAt(4), 1u);

    store.clear();
    EXPECT_EQ(store.lineCount(), 0u);
    EXPECT_EQ(store.droppedLines(), 0u);
    store.append(u"again", LineKind::Plain);
    EXPECT_EQ(store.text(0).copy(), u"again");
    EXPECT_EQ(store.start(0), 0);
}

TEST(OutputStore, LongLinesLeaveByTheCharacterBound) {
    const std::size_t bound = 1000000;
    OutputStore store(OutputStore::kMaxLines, bound);
    const std::size_t length = 4000;
    const std::size_t fit = bound / length;
    // Several times the bound, so chunks are freed and reused on the way.
    for (std::size_t i = 0; i < fit * 5; ++i) store.append(numbered(i, length), LineKind::Plain);
    EXPECT_EQ(store.lineCount(), fit);
    EXPECT_LE(store.textBytes(), bound);
    EXPECT_EQ(store.text(0).copy(), numbered(fit * 4, length));
    EXPECT_EQ(store.text(fit - 1).copy(), numbered(fit * 5 - 1, length));

    // One line beyond the bound is kept on its own.
    store.append(std::u16string(bound + 1, u'y'), LineKind::Plain);
    EXPECT_EQ(store.lineCount(), 1u);
    EXPECT_EQ(store.text(0).size(), bound + 1);
    store.append(u"short", LineKind::Plain);
    EXPECT_EQ(store.lineCount(), 1u);
    EXPECT_EQ(store.text(0).copy(), u"short");
}

// A line with a character beyond U+00FF takes two bytes a character, any
// other one; both read back as they came.
TEST(OutputStore, TheBoundCountsTheBytesOfEachForm) {
    const std::u16string latin = u"caf\u00e9 \u00ff x";
    const std::u16string wide = u"\u30bd\u30fc\u30b9.c(3): warning";
    OutputStore store(OutputStore::kMaxLines, 100 * wide.size());
    store.append(latin, LineKind::Plain);
    EXPECT_EQ(store.textBytes(), latin.size());
    store.append(wide, LineKind::Warning);
    EXPECT_EQ(store.textBytes(), latin.size() + 2 * wide.size());
    EXPECT_EQ(store.text(0).copy(), latin);
    EXPECT_EQ(store.text(1).copy(), wide);
    EXPECT_EQ(store.text(1)[0], u'\u30bd');
    EXPECT_EQ(store.text(0)[3], u'\u00e9');

    // Lines of both forms side by side in the same chunks, up to the bound.
    for (std::size_t i = 0; i < 1000; ++i) store.append(i % 2 ? wide : latin, LineKind::Plain);
    EXPECT_LE(store.textBytes(), 100 * wide.size());
    for (std::size_t i = 0; i < store.lineCount(); ++i) {
        ASSERT_EQ(store.text(i).copy(), (store.droppedLines() + i) % 2 == 0 ? latin : wide) << i;
    }
}

TEST(OutputStore, ReadingsStayWithTheirLines) {
    OutputStore store(10, 1000000);
    for (unsigned long i = 0; i < 25; ++i) {
        if (i % 3 == 0) {
            const MessageReading reading = readingAt(i);
            store.append(numbered(i), LineKind::Warning, &reading);
        } else {
            store.append(numbered(i), LineKind::Plain);
        }
    }
    // Lines 15 to 24 are held: readings on 15, 18, 21 and 24.
    for (std::size_t index = 0; index < store.lineCount(); ++index) {
        const unsigned long line = 15 + index;
        const MessageReading* reading = store.message(index);
        if (line % 3 == 0) {
            ASSERT_NE(reading, nullptr) << line;
            EXPECT_EQ(*reading, readingAt(line));
        } else {
            EXPECT_EQ(reading, nullptr) << line;
        }
    }
    EXPECT_EQ(store.message(store.lineCount()), nullptr);
    store.clear();
    store.append(u"plain", LineKind::Plain);
    EXPECT_EQ(store.message(0), nullptr);
}

// Whatever a reading holds comes back as it went in: names found in the
// line's text or not, in either form of text, any numbers, make's folders
// as they change, while older lines and their folders leave.
TEST(OutputStore, ReadingsComeBackWhole) {
    const auto reading = [](LineKind kind, std::string file, unsigned long line,
                            unsigned long column, std::string number, std::string folder) {
        return MessageReading{kind,   std::move(file),   line,
                              column, std::move(number), std::move(folder)};
    };
    const std::string longName(300, 'a');
    const std::pair<std::u16string, MessageReading> messages[] = {
        {u"src/a.c(12) : warning C4101: x",
         reading(LineKind::Warning, "src/a.c", 12, 0, "C4101", "")},
        {u"b.c:3:4: error: y", reading(LineKind::Error, "b.c", 3, 4, "", "/p/sub")},
        {u"\u30bd.c(5): error E1: \u30a8",
         reading(LineKind::Error, "\u30bd.c", 5, 0, "E1", "/p/sub")},
        {u"caf\u00e9.c:1: note: z", reading(LineKind::Note, "caf\u00e9.c", 1, 0, "", "/p")},
        {u"LINK : error L2029", reading(LineKind::Error, "", 0, 0, "L2029", "/p")},
        {u"x", reading(LineKind::Warning, longName, ~0ul, ~0ul, std::string(1, '\0'), "")},
        {std::u16string(300, u'a') + u"(1): error",
         reading(LineKind::Error, longName, 1, 0, "", "")},
    };
    OutputStore store(20, 1000000);
    for (int round = 0; round < 4; ++round) {
        for (const auto& [text, message] : messages) {
            store.append(text, message.kind, &message);
            store.append(u"between", LineKind::Plain);
        }
    }
    ASSERT_EQ(store.lineCount(), 20u);
    for (std::size_t index = 0; index < store.lineCount(); ++index) {
        const std::size_t serial = store.droppedLines() + index;
        const MessageReading* read = store.message(index);
        if (serial % 2 == 1) {
            EXPECT_EQ(read, nullptr) << serial;
            continue;
        }
        const auto& [text, message] = messages[serial / 2 % std::size(messages)];
        ASSERT_NE(read, nullptr) << serial;
        EXPECT_EQ(*read, message) << serial;
        EXPECT_EQ(store.text(index).copy(), text) << serial;
    }
    // A line of one byte a character given as such reads the same.
    const MessageReading plain = messages[0].second;
    store.appendLatin1("src/a.c(12) : warning C4101: x", LineKind::Warning, &plain);
    EXPECT_EQ(*store.message(store.lineCount() - 1), plain);
    EXPECT_EQ(store.text(store.lineCount() - 1).copy(), messages[0].first);
}

}  // namespace
