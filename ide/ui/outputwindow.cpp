// The output window's lines, readers, selection, scrolling and painting.
#include "outputwindow.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "outputaccessible.h"
#include "qtext.h"

namespace {

// About one frame: lines that come faster than this share one refresh.
constexpr qint64 kRefreshIntervalMs = 16;
constexpr unsigned kAppendsBetweenLooks = 32;

}  // namespace

OutputWindow::OutputWindow(QWidget* parent)
    : QAbstractScrollArea(parent), codePage_(common::activeCodePage()) {
    OutputAccessible::install();
    setFocusPolicy(Qt::WheelFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    rows_.setFont(font());
    setWrapping(true);
    // Every pass of event handling (the runner makes one after each line and
    // while the child is silent) brings the screen up to date once a frame
    // has passed; when the loop goes idle, at once.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] {
            if (dirty_ && sinceRefresh_.elapsed() >= kRefreshIntervalMs) flush();
        });
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (dirty_) flush();
        });
    }
}

// ---------------------------------------------------------------- lines

void OutputWindow::append(const OutputLine& line) {
    const MessageReading* message = line.message ? &*line.message : nullptr;
    // ASCII in UTF-8 is its own UTF-16, a unit a byte: kept as it is.
    if (codePage_ == common::CodePage::Utf8 && IsAscii(line.text)) {
        store_.appendLatin1(line.text, line.kind, message);
        appended(line.text.size());
        return;
    }
    const QString text = toQt(line.text, codePage_);
    store_.append(utf16View(text), line.kind, message);
    appended(static_cast<std::size_t>(text.size()));
}

void OutputWindow::append(std::string text, LineKind kind) {
    append(OutputLine{std::move(text), kind, std::nullopt});
}

void OutputWindow::appendLine(const QString& line, LineKind kind) {
    store_.append(utf16View(line), kind);
    appended(static_cast<std::size_t>(line.size()));
}

// The clock is looked at once every few lines: lines come faster than a
// frame.
void OutputWindow::appended(std::size_t characters) {
    longest_ = std::max(longest_, characters);
    dirty_ = true;
    if (!contentsAnnounced_) {
        contentsAnnounced_ = true;
        emit contentsChanged();
    }
    if (!sinceRefresh_.isValid() || (++appendsSinceLook_ % kAppendsBetweenLooks == 0 &&
                                     sinceRefresh_.elapsed() >= kRefreshIntervalMs)) {
        flush();
    }
}

void OutputWindow::flush() {
    dirty_ = false;
    sinceRefresh_.restart();
    if (follow_) top_ = rows_.endTop(visibleRows());
    updateScrollBars();
    announceAppended();
    viewport()->update();
}

void OutputWindow::erase() {
    store_.clear();
    rows_.forget();
    anchor_ = caret_ = 0;
    top_ = rows_.first();
    follow_ = true;
    longest_ = 0;
    announcedEnd_ = 0;
    contentsAnnounced_ = true;
    emit contentsChanged();
    flush();
}

// ---------------------------------------------------------------- readers

std::int64_t OutputWindow::held(std::int64_t absolute) const {
    return std::clamp(absolute, store_.origin(), store_.origin() + store_.length());
}

QString OutputWindow::textBetween(std::int64_t from, std::int64_t to) const {
    QString text;
    if (store_.lineCount() == 0 || to <= from) return text;
    text.reserve(static_cast<qsizetype>(to - from));
    for (std::size_t i = store_.lineAt(from); i < store_.lineCount(); ++i) {
        const std::int64_t start = store_.start(i);
        if (start >= to) break;
        const OutputStore::Text line = store_.text(i);
        const auto end = start + static_cast<std::int64_t>(line.size());
        const auto first = static_cast<std::size_t>(std::max<std::int64_t>(from - start, 0));
        const auto last = static_cast<std::size_t>(std::min(to, end) - start);
        if (last > first) appendText(text, line, first, last - first);
        if (end < to) text.append(QLatin1Char('\n'));
    }
    return text;
}

QString OutputWindow::text() {
    return textBetween(0, store_.length());
}

int OutputWindow::lineCount() {
    return static_cast<int>(store_.lineCount());
}

int OutputWindow::selectionStart() {
    return static_cast<int>(relative(std::min(anchor_, caret_)));
}

int OutputWindow::selectionLength() {
    return static_cast<int>(relative(std::max(anchor_, caret_)) -
                            relative(std::min(anchor_, caret_)));
}

QString OutputWindow::selectedText() {
    return textBetween(selectionStart(), selectionStart() + selectionLength());
}

OutputWindow::Line OutputWindow::lineAt(int position) {
    if (store_.lineCount() == 0 || position < 0 || position > store_.length()) return {};
    const std::size_t i = store_.lineAt(position);
    return {static_cast<int>(store_.start(i)), qtString(store_.text(i))};
}

QString OutputWindow::lineText(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= store_.lineCount()) return {};
    return qtString(store_.text(static_cast<std::size_t>(index)));
}

const MessageReading* OutputWindow::messageAt(int index) {
    return index < 0 ? nullptr : store_.message(static_cast<std::size_t>(index));
}

int OutputWindow::lineNumberAt(int position) {
    return store_.lineCount() == 0 ? 0 : static_cast<int>(store_.lineAt(position));
}

QTextCharFormat OutputWindow::lineFormat(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= store_.lineCount()) return {};
    return OutputRows::formatOf(store_.kind(static_cast<std::size_t>(index)));
}

// ---------------------------------------------------------------- selection

void OutputWindow::select(int start, int length) {
    placeSelection(absolute(start), absolute(static_cast<std::int64_t>(start) + length));
    showCaret();
}

void OutputWindow::selectAllText() {
    placeSelection(store_.origin(), store_.origin() + store_.length());
}

void OutputWindow::selectLine(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= store_.lineCount()) return;
    const auto i = static_cast<std::size_t>(index);
    select(static_cast<int>(store_.start(i)), static_cast<int>(store_.text(i).size()));
}

void OutputWindow::placeSelection(std::int64_t anchor, std::int64_t caret) {
    anchor_ = held(anchor);
    caret_ = held(caret);
    viewport()->update();
    contentsAnnounced_ = false;
    emit selectionChanged();
    OutputAccessible::announceSelection(*this);
}

void OutputWindow::moveCaret(std::int64_t caret, bool extend) {
    placeSelection(extend ? anchor_ : caret, caret);
    showCaret();
}

// The caret's row scrolled into view, and with no wrapping its column too.
void OutputWindow::showCaret() {
    const OutputRows::Place caret = rows_.placeOf(relative(caret_));
    const OutputRows::Place top = rows_.held(top_);
    const int visible = visibleRows();
    if (caret.line < top.line || (caret.line == top.line && caret.row < top.row)) {
        setTop(caret);
    } else if (rows_.rowsBetween(top, caret, visible) >= visible) {
        setTop(rows_.advance(caret, -(visible - 1)));
    }
    if (wrapping()) return;
    const QRect rect = cursorRect(static_cast<int>(relative(caret_)));
    QScrollBar* bar = horizontalScrollBar();
    const int margin = rows_.rowHeight();
    if (rect.isNull()) return;
    if (rect.left() < 0) bar->setValue(bar->value() + rect.left() - margin);
    if (rect.right() >= viewport()->width()) {
        bar->setValue(bar->value() + rect.right() - viewport()->width() + margin);
    }
}

OutputRows::Marks OutputWindow::marks() const {
    const std::int64_t from = relative(std::min(anchor_, caret_));
    const std::int64_t to = relative(std::max(anchor_, caret_));
    return {from, to, hasFocus() ? relative(caret_) : -1};
}

// ---------------------------------------------------------------- scrolling

int OutputWindow::visibleRows() const {
    return std::max(viewport()->height() / rows_.rowHeight(), 1);
}

int OutputWindow::scrolledX() const {
    return wrapping() ? 0 : horizontalScrollBar()->value();
}

// Never below the top from which the last row is the bottom one.
void OutputWindow::setTop(OutputRows::Place top) {
    const OutputRows::Place end = rows_.endTop(visibleRows());
    top_ = std::min(rows_.held(top), end);
    follow_ = top_ == end;
    updateScrollBars();
    viewport()->update();
}

// The vertical bar counts lines, whatever their rows: its end is exact (the
// last rows, laid out from the end), and a line that wraps into many rows
// is one step like any other; the rows within it are reached with the keys
// and the caret.
void OutputWindow::updateScrollBars() {
    settingBars_ = true;
    QScrollBar* bar = verticalScrollBar();
    const OutputRows::Place end = rows_.endTop(visibleRows());
    bar->setRange(0, static_cast<int>(rows_.index(end)));
    bar->setPageStep(visibleRows());
    bar->setValue(static_cast<int>(rows_.index(top_)));
    if (!wrapping()) {
        QScrollBar* across = horizontalScrollBar();
        const int widest = std::max(rows_.widestLine(), rows_.estimatedWidth(longest_));
        across->setRange(0, std::max(widest - viewport()->width(), 0));
        across->setPageStep(viewport()->width());
        across->setSingleStep(std::max(rows_.rowHeight(), 1));
    }
    settingBars_ = false;
}

void OutputWindow::scrollContentsBy(int, int dy) {
    if (settingBars_) return;
    if (dy != 0) {
        QScrollBar* bar = verticalScrollBar();
        const OutputRows::Place end = rows_.endTop(visibleRows());
        top_ = bar->value() >= bar->maximum()
                   ? end
                   : OutputRows::Place{
                         rows_.first().line + static_cast<std::uint64_t>(bar->value()), 0};
        follow_ = top_ == end;
    }
    viewport()->update();
}

void OutputWindow::setWrapping(bool wrap) {
    rows_.setWrapping(wrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    top_.row = 0;
    flush();
}

void OutputWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    rows_.setWidth(viewport()->width());
    flush();
}

void OutputWindow::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        rows_.setFont(font());
        flush();
    }
}

// ---------------------------------------------------------------- painting

void OutputWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    rows_.paint(painter, top_, event->rect(), scrolledX(), marks(), palette());
}

QRect OutputWindow::cursorRect(int position) {
    return rows_.cursorRect(top_, position, scrolledX(), viewport()->height());
}

int OutputWindow::positionAt(QPoint point) {
    return static_cast<int>(relative(positionUnder(point)));
}

std::int64_t OutputWindow::positionUnder(QPoint point) {
    return absolute(rows_.positionAt(top_, point, scrolledX()));
}

// Dragged or copied out of the window, the text carries no colours.
QMimeData* OutputWindow::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    const OutputRows::Marks selected = marks();
    data->setText(textBetween(selected.selectionFrom, selected.selectionTo));
    return data;
}

void OutputWindow::announceAppended() {
    const std::int64_t end = store_.origin() + store_.length();
    if (QAccessible::isActive() && end > announcedEnd_) {
        OutputAccessible::announceInsert(*this, relative(announcedEnd_),
                                         textBetween(relative(announcedEnd_), relative(end)));
    }
    announcedEnd_ = end;
}
