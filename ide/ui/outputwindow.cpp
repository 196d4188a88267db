// The output window's batching of appended lines and its click events.
#include "outputwindow.h"

#include <QAbstractEventDispatcher>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "qtext.h"

namespace {

// About one frame: lines that come faster than this share one layout pass.
constexpr qint64 kFlushIntervalMs = 16;

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
    setMaximumBlockCount(kMaxLines);
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

void OutputWindow::append(std::string line) {
    appendLine(toQt(line));
}

void OutputWindow::appendLine(const QString& line) {
    pending_.append(line);
    if (pending_.size() > kMaxLines) pending_.removeFirst();
    if (flushDue()) flush();
}

bool OutputWindow::flushDue() const {
    return !sinceFlush_.isValid() || sinceFlush_.elapsed() >= kFlushIntervalMs;
}

void OutputWindow::flush() {
    if (pending_.isEmpty()) return;
    QScrollBar* bar = verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    if (lines_ > 0) end.insertBlock();
    end.insertText(pending_.join('\n'));
    end.endEditBlock();
    lines_ = std::min(lines_ + static_cast<int>(pending_.size()), kMaxLines);
    pending_.clear();
    if (atBottom) bar->setValue(bar->maximum());
    sinceFlush_.restart();
}

QString OutputWindow::text() {
    flush();
    return toPlainText();
}

int OutputWindow::lineCount() {
    flush();
    return lines_;
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
    lines_ = 0;
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
