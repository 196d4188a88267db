// The output window's batching, colouring and trimming of appended lines,
// and its click events.
#include "outputwindow.h"

#include <QAbstractEventDispatcher>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <algorithm>

#include "qtext.h"

namespace {

// About one frame: lines that come faster than this share one layout pass.
constexpr qint64 kFlushIntervalMs = 16;

// Batch sizes between which the measured speed of the widget chooses.
constexpr int kSmallestBatch = 16;
constexpr int kLargestBatch = 8192;

QTextCharFormat formatFor(LineKind kind) {
    QTextCharFormat format;
    switch (kind) {
        case LineKind::Error:
            format.setForeground(QColor(Qt::darkRed));
            break;
        case LineKind::Warning:
            format.setForeground(QColor(Qt::darkYellow));
            break;
        case LineKind::Summary:
            format.setFontWeight(QFont::Bold);
            break;
        case LineKind::Plain:
        case LineKind::Note:
        case LineKind::Ide:
            break;
    }
    return format;
}

// Input that reads the text: the widget must hold every line before it.
bool readsText(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

}  // namespace

OutputWindow::OutputWindow(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);  // an undo history of every line would only cost memory
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Every pass of event handling (the runner makes one after each line and
    // while the child is silent) hands the lines on once they are due; when
    // the loop goes idle, everything is shown.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] {
            if (flushDue()) flush();
        });
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &OutputWindow::flush);
    }
}

void OutputWindow::append(OutputLine line) {
    pending_.append({toQt(line.text), line.kind, std::move(line.message)});
    if (flushDue()) flush();
}

void OutputWindow::append(std::string text, LineKind kind) {
    append(OutputLine{std::move(text), kind, std::nullopt});
}

void OutputWindow::appendLine(const QString& line, LineKind kind) {
    pending_.append({line, kind, std::nullopt});
    if (flushDue()) flush();
}

bool OutputWindow::flushDue() const {
    return pending_.size() >= batchLimit_ || !sinceFlush_.isValid() ||
           sinceFlush_.elapsed() >= kFlushIntervalMs;
}

void OutputWindow::flush() {
    if (pending_.isEmpty()) return;
    QElapsedTimer took;
    took.start();
    QScrollBar* bar = verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    const auto lines = static_cast<qint64>(pending_.size());
    insertPending();
    const qint64 inserted = took.nsecsElapsed();
    const qint64 dropped = trimToBounds();
    if (atBottom) bar->setValue(bar->maximum());
    adaptBatchLimit(inserted / lines, dropped, took.nsecsElapsed() - inserted);
    sinceFlush_.restart();
}

// Lines of one kind in a row go in with one insertion.
void OutputWindow::insertPending() {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    for (qsizetype first = 0; first < pending_.size();) {
        const LineKind kind = pending_[first].kind;
        QString run;
        qsizetype next = first;
        for (; next < pending_.size() && pending_[next].kind == kind; ++next) {
            if (next > first) run += '\n';
            run += pending_[next].text;
            lineLengths_.push_back(static_cast<int>(pending_[next].text.size()));
            messages_.push_back(std::move(pending_[next].message));
            characters_ += pending_[next].text.size();
        }
        if (lineLengths_.size() > static_cast<std::size_t>(next - first)) end.insertBlock();
        end.insertText(run, formatFor(kind));
        first = next;
    }
    end.endEditBlock();
    pending_.clear();
}

// The widget compacts its text buffer only when it drops lines itself for
// its block limit, so the oldest lines leave by lowering that limit.
qint64 OutputWindow::trimToBounds() {
    qint64 dropped = 0;
    while (lineLengths_.size() > 1 && (lineLengths_.size() > static_cast<std::size_t>(kMaxLines) ||
                                       characters_ > kMaxCharacters)) {
        characters_ -= lineLengths_.front();
        lineLengths_.pop_front();
        messages_.pop_front();
        ++dropped;
    }
    if (dropped > 0) {
        document()->setMaximumBlockCount(static_cast<int>(lineLengths_.size()));
        document()->setMaximumBlockCount(0);
    }
    return dropped;
}

// A line costs its insertion and, once the window is full, the removal of
// an old one, which is the dearer part by far; until a removal has been
// timed it is taken to cost kAssumedDropNs, so the first batch that fills
// the window is no longer than the others.
void OutputWindow::adaptBatchLimit(qint64 insertNsPerLine, qint64 dropped, qint64 dropNs) {
    if (dropped >= kSmallestBatch) dropNsPerLine_ = dropNs / dropped;
    const qint64 perLineNs = std::max<qint64>(insertNsPerLine + dropNsPerLine_, 1);
    batchLimit_ = static_cast<int>(
        std::clamp<qint64>(kBatchBudgetMs * 1000000 / perLineNs, kSmallestBatch, kLargestBatch));
}

QString OutputWindow::text() {
    flush();
    return toPlainText();
}

int OutputWindow::lineCount() {
    flush();
    return static_cast<int>(lineLengths_.size());
}

int OutputWindow::selectionStart() {
    flush();
    return textCursor().selectionStart();
}

int OutputWindow::selectionLength() {
    flush();
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

QString OutputWindow::selectedText() {
    flush();
    return plainSelection();
}

QString OutputWindow::plainSelection() const {
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, '\n');
    return selected;
}

OutputWindow::Line OutputWindow::lineAt(int position) {
    flush();
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) return {};
    return {block.position(), block.text()};
}

void OutputWindow::select(int start, int length) {
    flush();
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void OutputWindow::selectAllText() {
    flush();
    QPlainTextEdit::selectAll();
}

void OutputWindow::erase() {
    pending_.clear();
    lineLengths_.clear();
    messages_.clear();
    characters_ = 0;
    QPlainTextEdit::clear();
}

void OutputWindow::setWrapping(bool wrap) {
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

bool OutputWindow::event(QEvent* event) {
    if (readsText(event->type())) flush();
    // Copy and Select all belong to the Edit menu, whose Copy copies the
    // whole text when nothing is selected: let its shortcuts through.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll)) {
            event->ignore();
            return false;
        }
    }
    return QPlainTextEdit::event(event);
}

bool OutputWindow::viewportEvent(QEvent* event) {
    if (readsText(event->type())) flush();
    return QPlainTextEdit::viewportEvent(event);
}

// Dragged or copied out of the widget, the text carries no colours.
QMimeData* OutputWindow::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(plainSelection());
    return data;
}

void OutputWindow::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    // The release that ends a double click is no click of its own.
    if (releaseEndsDoubleClick_) {
        releaseEndsDoubleClick_ = false;
        return;
    }
    emit clicked();
}

void OutputWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) return;
    releaseEndsDoubleClick_ = true;
    emit doubleClicked();
}

QString OutputWindow::lineText(int index) {
    flush();
    return document()->findBlockByNumber(index).text();
}

const MessageReading* OutputWindow::messageAt(int index) {
    flush();
    if (index < 0 || static_cast<std::size_t>(index) >= messages_.size()) return nullptr;
    const auto& message = messages_[static_cast<std::size_t>(index)];
    return message ? &*message : nullptr;
}

int OutputWindow::lineNumberAt(int position) {
    flush();
    return document()->findBlock(position).blockNumber();
}

void OutputWindow::selectLine(int index) {
    flush();
    const QTextBlock block = document()->findBlockByNumber(index);
    if (!block.isValid()) return;
    select(block.position(), block.length() - 1);
    ensureCursorVisible();
}
