// The rows of the output window: each held line laid out on demand (and
// kept for a while, so a repaint or a click lays nothing out again), wrapped
// at the viewport's width or not, and drawn from a top place down to the
// viewport's bottom. Nothing is laid out for a line that is not on screen
// or next to it.
//
// A place is a line, by its serial number (which lines leaving from the top
// do not change), and a row within that line.
#pragma once

#include <QFont>
#include <QStringView>
#include <QTextLayout>
#include <compare>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>

#include "outputstore.h"

class QPainter;
class QPalette;

inline std::u16string_view utf16View(QStringView text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}
// Characters [from, from + count) of a held line appended to a Qt text.
inline void appendText(QString& to, const OutputStore::Text& text, std::size_t from,
                       std::size_t count) {
    if (text.wide) {
        to.append(QStringView(text.utf16.substr(from, count)));
    } else {
        to.append(QLatin1StringView(text.latin1.substr(from, count)));
    }
}
inline QString qtString(const OutputStore::Text& text) {
    QString line;
    appendText(line, text, 0, text.size());
    return line;
}

class OutputRows {
  public:
    struct Place {
        std::uint64_t line = 0;
        int row = 0;
        auto operator<=>(const Place&) const = default;  // by line, then row
    };
    // What is drawn besides the text: the selection and the caret, as
    // positions of the store's joined text.
    struct Marks {
        std::int64_t selectionFrom = 0;
        std::int64_t selectionTo = 0;
        std::int64_t caret = -1;  // -1: no caret drawn
    };

    explicit OutputRows(const OutputStore& store) : store_(store) {}

    void setFont(const QFont& font);
    void setWidth(int width);  // of the text, for wrapping
    void setWrapping(bool wrap);
    bool wrapping() const { return wrap_; }
    void forget();  // the lines were erased: lay everything out anew

    int rowHeight() const { return rowHeight_; }
    // The widest line laid out so far, and an estimate for a line of n characters.
    int widestLine() const { return widest_; }
    int estimatedWidth(std::size_t characters) const;

    Place first() const { return {store_.droppedLines(), 0}; }
    Place held(Place place) const;  // a place on a line that has left: the first
    std::size_t index(Place place) const {
        return static_cast<std::size_t>(held(place).line - store_.droppedLines());
    }
    // `rows` rows further down (up when negative), within the text.
    Place advance(Place place, int rows);
    // The top place from which the last row is the bottom one of
    // `visibleRows` rows.
    Place endTop(int visibleRows);
    // The place of the row that holds a position.
    Place placeOf(std::int64_t position);
    // The rows from `from` down to `to`, counted up to `limit`.
    int rowsBetween(Place from, Place to, int limit);

    // The position `rows` rows down (up when negative) at the same x, and
    // the first and the last position of the row that holds a position.
    std::int64_t moveByRows(std::int64_t position, int rows);
    std::pair<std::int64_t, std::int64_t> rowBounds(std::int64_t position);

    // Viewport geometry, from a top place, with the text moved left by `scrolled`.
    std::int64_t positionAt(Place top, QPoint point, int scrolled);
    QRect cursorRect(Place top, std::int64_t position, int scrolled, int height);
    void paint(QPainter& painter, Place top, const QRect& area, int scrolled, const Marks& marks,
               const QPalette& palette);

    static QTextCharFormat formatOf(LineKind kind);
    // The text as drawn: a character that would start a new row or a new
    // paragraph, and every other control character but the tab, shows as a
    // picture of itself, one for one, so positions stay as they are.
    static QString drawnText(QString text);

  private:
    // Enough layouts for several screens of rows.
    static constexpr std::size_t kKeptLayouts = 2048;

    QTextLayout& layout(std::size_t index);
    int rowsOf(std::size_t index) { return wrap_ ? layout(index).lineCount() : 1; }
    int rowOfColumn(std::size_t index, int column);

    const OutputStore& store_;
    QFont font_;
    int width_ = 100;
    int rowHeight_ = 1;
    int averageCharWidth_ = 1;
    int widest_ = 0;
    bool wrap_ = true;
    std::unordered_map<std::uint64_t, std::unique_ptr<QTextLayout>> layouts_;  // by line serial
};
