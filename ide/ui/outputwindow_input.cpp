// The output window's keys and mouse: moving the caret and selecting, the
// clicks the main window listens to, dragging the selection out, and the
// search for a text.
#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <climits>
#include <cstdint>
#include <string>

#include "outputwindow.h"

namespace {

char16_t unit(char c) {
    return static_cast<unsigned char>(c);
}
char16_t unit(char16_t c) {
    return c;
}

char16_t folded(char16_t c, Qt::CaseSensitivity sensitivity) {
    if (sensitivity == Qt::CaseSensitive) return c;
    if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return QChar::toCaseFolded(c);
}

// The first match at or after `from` (forward), or the last one that
// starts at or before it; -1 when there is none. `wanted` is folded.
template <typename View>
std::int64_t findIn(View line, const std::u16string& wanted, std::int64_t from, bool forward,
                    Qt::CaseSensitivity sensitivity) {
    const auto last =
        static_cast<std::int64_t>(line.size()) - static_cast<std::int64_t>(wanted.size());
    const auto matchesAt = [&](std::int64_t at) {
        for (std::size_t k = 0; k < wanted.size(); ++k) {
            if (folded(unit(line[static_cast<std::size_t>(at) + k]), sensitivity) != wanted[k]) {
                return false;
            }
        }
        return true;
    };
    if (forward) {
        for (std::int64_t at = std::max<std::int64_t>(from, 0); at <= last; ++at) {
            if (matchesAt(at)) return at;
        }
    } else {
        for (std::int64_t at = std::min(from, last); at >= 0; --at) {
            if (matchesAt(at)) return at;
        }
    }
    return -1;
}

std::int64_t findInLine(const OutputStore::Text& line, const std::u16string& wanted,
                        std::int64_t from, bool forward, Qt::CaseSensitivity sensitivity) {
    return line.wide ? findIn(line.utf16, wanted, from, forward, sensitivity)
                     : findIn(line.latin1, wanted, from, forward, sensitivity);
}

}  // namespace

void OutputWindow::keyPressEvent(QKeyEvent* event) {
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool whole = event->modifiers() & Qt::ControlModifier;
    const std::int64_t caret = relative(caret_);
    const int page = std::max(visibleRows() - 1, 1);
    std::int64_t to = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            to = caret - 1;
            break;
        case Qt::Key_Right:
            to = caret + 1;
            break;
        case Qt::Key_Up:
            to = rows_.moveByRows(caret, -1);
            break;
        case Qt::Key_Down:
            to = rows_.moveByRows(caret, 1);
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            // The page moves with the caret, so the caret keeps its row on screen.
            const int rows = event->key() == Qt::Key_PageUp ? -page : page;
            to = rows_.moveByRows(caret, rows);
            setTop(rows_.advance(top_, rows));
            break;
        }
        case Qt::Key_Home:
            to = whole ? 0 : rows_.rowBounds(caret).first;
            break;
        case Qt::Key_End:
            to = whole ? store_.length() : rows_.rowBounds(caret).second;
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    moveCaret(absolute(to), extend);
    event->accept();
}

void OutputWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const std::int64_t position = positionUnder(event->position().toPoint());
    const std::int64_t from = std::min(anchor_, caret_);
    const std::int64_t to = std::max(anchor_, caret_);
    if (event->modifiers() & Qt::ShiftModifier) {
        moveCaret(position, true);
        selecting_ = true;
    } else if (from < to && position >= from && position < to) {
        mayDrag_ = true;
        pressedAt_ = event->position().toPoint();
    } else {
        moveCaret(position, false);
        selecting_ = true;
    }
}

// A drag beyond the top or the bottom scrolls one row a move.
void OutputWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    QPoint point = event->position().toPoint();
    if (mayDrag_) {
        if ((point - pressedAt_).manhattanLength() < QApplication::startDragDistance()) return;
        mayDrag_ = false;
        startDrag();
        return;
    }
    if (!selecting_) return;
    point.setY(std::clamp(point.y(), -1, viewport()->height()));
    moveCaret(positionUnder(point), true);
}

void OutputWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (mayDrag_) {  // a press inside the selection that dragged nothing
        mayDrag_ = false;
        moveCaret(positionUnder(event->position().toPoint()), false);
    }
    selecting_ = false;
    // The release that ends a double click is no click of its own.
    if (releaseEndsDoubleClick_) {
        releaseEndsDoubleClick_ = false;
        return;
    }
    emit clicked();
}

void OutputWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    releaseEndsDoubleClick_ = true;
    emit doubleClicked();
}

void OutputWindow::startDrag() {
    auto* drag = new QDrag(this);
    drag->setMimeData(createMimeDataFromSelection());
    drag->exec(Qt::CopyAction);
}

void OutputWindow::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void OutputWindow::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// Line by line from the selection on: a match never spans a break.
bool OutputWindow::find(const QString& needle, bool forward, Qt::CaseSensitivity sensitivity) {
    const std::size_t count = store_.lineCount();
    if (needle.isEmpty() || count == 0) return false;
    std::u16string wanted(utf16View(needle));
    for (char16_t& c : wanted) c = folded(c, sensitivity);
    const std::int64_t from =
        relative(forward ? std::max(anchor_, caret_) : std::min(anchor_, caret_));
    const std::size_t first = store_.lineAt(from);
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t i = forward ? first + n : first - n;  // wraps past 0
        if (i >= count) break;
        const std::int64_t start = store_.start(i);
        // Backward, a match ends at the selection's start at the latest.
        const std::int64_t within =
            i != first ? (forward ? 0 : INT64_MAX) : from - start - (forward ? 0 : needle.size());
        const std::int64_t at = findInLine(store_.text(i), wanted, within, forward, sensitivity);
        if (at >= 0) {
            select(static_cast<int>(start + at), static_cast<int>(needle.size()));
            return true;
        }
    }
    return false;
}
