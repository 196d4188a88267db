// The output window's rows: layouts of the lines near the screen, moving
// a place by rows, and the geometry and drawing of the rows on screen.
#include "outputrows.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QTextLine>
#include <cmath>

namespace {

// Space left of the text, as a text widget keeps it.
constexpr int kMargin = 4;

}  // namespace

QTextCharFormat OutputRows::formatOf(LineKind kind) {
    QTextCharFormat format;
    switch (kind) {
        case LineKind::Error:
            format.setForeground(QColor(Qt::darkRed));
            break;
        case LineKind::Warning:
            format.setForeground(QColor(Qt::darkYellow));
            break;
        case LineKind::Note:
            format.setForeground(QColor(Qt::darkGray));
            break;
        case LineKind::Summary:
            format.setFontWeight(QFont::Bold);
            break;
        case LineKind::Plain:
        case LineKind::Ide:
            break;
    }
    return format;
}

QString OutputRows::drawnText(QString drawn) {
    for (QChar& c : drawn) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != u'\t') {
            c = QChar(static_cast<char16_t>(0x2400 + u));  // the control pictures
        } else if (u == 0x7F) {
            c = QChar(char16_t{0x2421});
        } else if (u == QChar::LineSeparator) {
            c = QChar(char16_t{0x21B5});  // a downwards arrow with a corner
        } else if (u == QChar::ParagraphSeparator) {
            c = QChar(char16_t{0x00B6});  // the pilcrow
        } else if (u == 0x85) {
            c = QChar(char16_t{0x2424});  // the newline picture
        }
    }
    return drawn;
}

void OutputRows::setFont(const QFont& font) {
    font_ = font;
    const QFontMetrics metrics(font);
    rowHeight_ = std::max(metrics.lineSpacing(), 1);
    averageCharWidth_ = std::max(metrics.horizontalAdvance(QLatin1Char('x')), 1);
    forget();
}

void OutputRows::setWidth(int width) {
    width = std::max(width - 2 * kMargin, averageCharWidth_);
    if (width == width_) return;
    width_ = width;
    if (wrap_) layouts_.clear();
}

void OutputRows::setWrapping(bool wrap) {
    if (wrap == wrap_) return;
    wrap_ = wrap;
    layouts_.clear();
}

void OutputRows::forget() {
    layouts_.clear();
    widest_ = 0;
}

int OutputRows::estimatedWidth(std::size_t characters) const {
    return static_cast<int>(std::min<std::size_t>(characters * averageCharWidth_, 1 << 24)) +
           2 * kMargin;
}

QTextLayout& OutputRows::layout(std::size_t index) {
    const std::uint64_t serial = store_.droppedLines() + index;
    if (const auto found = layouts_.find(serial); found != layouts_.end()) return *found->second;
    if (layouts_.size() >= kKeptLayouts) layouts_.clear();

    auto laid = std::make_unique<QTextLayout>(drawnText(qtString(store_.text(index))), font_);
    QTextOption option;
    option.setWrapMode(wrap_ ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    laid->setTextOption(option);
    const QTextCharFormat format = formatOf(store_.kind(index));
    if (!format.properties().isEmpty()) {
        laid->setFormats({{0, static_cast<int>(laid->text().size()), format}});
    }
    laid->setCacheEnabled(true);
    laid->beginLayout();
    for (int row = 0;; ++row) {
        QTextLine line = laid->createLine();
        if (!line.isValid()) break;
        line.setLineWidth(width_);
        line.setPosition(QPointF(0, row * rowHeight_));
    }
    laid->endLayout();
    if (!wrap_) {
        widest_ =
            std::max(widest_, static_cast<int>(std::ceil(laid->maximumWidth())) + 2 * kMargin);
    }
    return *layouts_.emplace(serial, std::move(laid)).first->second;
}

OutputRows::Place OutputRows::held(Place place) const {
    return place.line < store_.droppedLines() ? first() : place;
}

OutputRows::Place OutputRows::advance(Place place, int rows) {
    const std::size_t count = store_.lineCount();
    if (count == 0) return first();
    place = held(place);
    std::size_t i = std::min(index(place), count - 1);
    int row = std::min(place.row, rowsOf(i) - 1);
    for (; rows > 0;) {
        const int n = rowsOf(i);
        if (row + rows < n) {
            row += rows;
            break;
        }
        if (i + 1 == count) {
            row = n - 1;
            break;
        }
        rows -= n - row;
        ++i;
        row = 0;
    }
    for (rows = -rows; rows > 0;) {
        if (row >= rows) {
            row -= rows;
            break;
        }
        if (i == 0) {
            row = 0;
            break;
        }
        rows -= row + 1;
        --i;
        row = rowsOf(i) - 1;
    }
    return {store_.droppedLines() + i, row};
}

OutputRows::Place OutputRows::endTop(int visibleRows) {
    const std::size_t count = store_.lineCount();
    if (count == 0) return first();
    const Place last{store_.droppedLines() + count - 1, rowsOf(count - 1) - 1};
    return advance(last, -(std::max(visibleRows, 1) - 1));
}

int OutputRows::rowOfColumn(std::size_t index, int column) {
    if (!wrap_) return 0;
    QTextLayout& laid = layout(index);
    const QTextLine line = laid.lineForTextPosition(column);
    return line.isValid() ? line.lineNumber() : laid.lineCount() - 1;
}

OutputRows::Place OutputRows::placeOf(std::int64_t position) {
    if (store_.lineCount() == 0) return first();
    const std::size_t i = store_.lineAt(position);
    const auto column = static_cast<int>(std::clamp<std::int64_t>(
        position - store_.start(i), 0, static_cast<std::int64_t>(store_.text(i).size())));
    return {store_.droppedLines() + i, rowOfColumn(i, column)};
}

int OutputRows::rowsBetween(Place from, Place to, int limit) {
    from = held(from);
    to = held(to);
    if (to.line == from.line) return to.row - from.row;
    if (to.line < from.line) return -rowsBetween(to, from, limit);
    const std::size_t last = index(to);
    int rows = rowsOf(index(from)) - from.row;
    for (std::size_t i = index(from) + 1; i < last && rows <= limit; ++i) rows += rowsOf(i);
    return std::min(rows + to.row, limit + 1);
}

std::int64_t OutputRows::moveByRows(std::int64_t position, int rows) {
    if (store_.lineCount() == 0) return 0;
    const Place from = placeOf(position);
    const std::size_t i = index(from);
    const auto column = static_cast<int>(position - store_.start(i));
    const qreal x = layout(i).lineAt(from.row).cursorToX(column);
    const Place to = advance(from, rows);
    const std::size_t j = index(to);
    return store_.start(j) + layout(j).lineAt(to.row).xToCursor(x);
}

std::pair<std::int64_t, std::int64_t> OutputRows::rowBounds(std::int64_t position) {
    if (store_.lineCount() == 0) return {0, 0};
    const Place place = placeOf(position);
    const std::size_t i = index(place);
    QTextLayout& laid = layout(i);
    const QTextLine line = laid.lineAt(place.row);
    const std::int64_t start = store_.start(i);
    // A wrapped row's end is before the next row's first character.
    const bool lastRow = place.row + 1 == laid.lineCount();
    const int end = line.textStart() + line.textLength() - (lastRow ? 0 : 1);
    return {start + line.textStart(), start + std::max(end, line.textStart())};
}

std::int64_t OutputRows::positionAt(Place top, QPoint point, int scrolled) {
    if (store_.lineCount() == 0) return 0;
    const int y = point.y();
    const int rows = y >= 0 ? y / rowHeight_ : -1 - (-y - 1) / rowHeight_;
    const Place place = advance(top, rows);
    const std::size_t i = index(place);
    const QTextLine line = layout(i).lineAt(place.row);
    const int column = line.xToCursor(point.x() + scrolled - kMargin);
    return store_.start(i) + column;
}

QRect OutputRows::cursorRect(Place top, std::int64_t position, int scrolled, int height) {
    if (store_.lineCount() == 0) return QRect(kMargin - scrolled, 0, 1, rowHeight_);
    const Place place = placeOf(position);
    const int visible = height / rowHeight_ + 1;
    const int rows = rowsBetween(top, place, visible);
    if (rows < 0 || rows > visible) return {};
    const std::size_t i = index(place);
    const auto column = static_cast<int>(position - store_.start(i));
    const QTextLine line = layout(i).lineAt(place.row);
    const int x = static_cast<int>(line.cursorToX(column)) + kMargin - scrolled;
    return QRect(x, rows * rowHeight_, 1, rowHeight_);
}

void OutputRows::paint(QPainter& painter, Place top, const QRect& area, int scrolled,
                       const Marks& marks, const QPalette& palette) {
    const std::size_t count = store_.lineCount();
    if (count == 0) return;
    top = advance(top, 0);
    QTextCharFormat selected;
    selected.setBackground(palette.highlight());
    selected.setForeground(palette.highlightedText());
    painter.setPen(palette.text().color());
    int y = -top.row * rowHeight_;
    for (std::size_t i = index(top); i < count && y < area.bottom() + 1; ++i) {
        QTextLayout& laid = layout(i);
        const int rows = laid.lineCount();
        const std::int64_t start = store_.start(i);
        const std::int64_t end = start + static_cast<std::int64_t>(store_.text(i).size());
        if (y + rows * rowHeight_ > area.top()) {
            QList<QTextLayout::FormatRange> selections;
            const std::int64_t from = std::max(marks.selectionFrom, start);
            const std::int64_t to = std::min(marks.selectionTo, end);
            if (from < to) {
                selections.append(
                    {static_cast<int>(from - start), static_cast<int>(to - from), selected});
            }
            const QPointF at(kMargin - scrolled, y);
            laid.draw(&painter, at, selections, area);
            if (marks.caret >= start && marks.caret <= end) {
                laid.drawCursor(&painter, at, static_cast<int>(marks.caret - start));
            }
        }
        y += rows * rowHeight_;
    }
}
