// The output window's accessibility interface.
#include "outputaccessible.h"

#include <QWidget>

#include "outputwindow.h"

namespace {

QAccessibleInterface* outputFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("OutputWindow") && object && object->isWidgetType()) {
        return new OutputAccessible(static_cast<OutputWindow*>(object));
    }
    return nullptr;
}

}  // namespace

OutputAccessible::OutputAccessible(OutputWindow* window)
    : QAccessibleWidget(window, QAccessible::EditableText) {}

void OutputAccessible::install() {
    static const bool installed = (QAccessible::installFactory(outputFactory), true);
    (void)installed;
}

void OutputAccessible::announceSelection(OutputWindow& window) {
    if (!QAccessible::isActive()) return;
    const int start = window.selectionStart();
    QAccessibleTextSelectionEvent selected(&window, start, start + window.selectionLength());
    selected.setCursorPosition(static_cast<int>(window.relative(window.caret_)));
    QAccessible::updateAccessibility(&selected);
}

void OutputAccessible::announceInsert(OutputWindow& window, std::int64_t position,
                                      const QString& text) {
    QAccessibleTextInsertEvent inserted(&window, static_cast<int>(position), text);
    QAccessible::updateAccessibility(&inserted);
}

OutputWindow& OutputAccessible::output() const {
    return *static_cast<OutputWindow*>(widget());
}

void* OutputAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State OutputAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    state.editable = false;
    return state;
}

QString OutputAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) return output().text();
    return QAccessibleWidget::text(type);
}

void OutputAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || output().selectionLength() == 0) return;
    *startOffset = output().selectionStart();
    *endOffset = *startOffset + output().selectionLength();
}

int OutputAccessible::selectionCount() const {
    return output().selectionLength() > 0 ? 1 : 0;
}

void OutputAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void OutputAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) output().select(cursorPosition(), 0);
}

void OutputAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) output().select(startOffset, endOffset - startOffset);
}

int OutputAccessible::cursorPosition() const {
    return static_cast<int>(output().relative(output().caret_));
}

void OutputAccessible::setCursorPosition(int position) {
    output().select(position, 0);
}

QString OutputAccessible::text(int startOffset, int endOffset) const {
    return output().textBetween(startOffset, endOffset);
}

int OutputAccessible::characterCount() const {
    return static_cast<int>(output().store_.length());
}

QRect OutputAccessible::characterRect(int offset) const {
    const QRect caret = output().cursorRect(offset);
    if (caret.isNull()) return {};
    const QRect next = output().cursorRect(offset + 1);
    const int width = next.isNull() || next.top() != caret.top() ? 1 : next.left() - caret.left();
    const QRect local(caret.topLeft(), QSize(std::max(width, 1), caret.height()));
    return QRect(output().viewport()->mapToGlobal(local.topLeft()), local.size());
}

int OutputAccessible::offsetAtPoint(const QPoint& point) const {
    return output().positionAt(output().viewport()->mapFromGlobal(point));
}

void OutputAccessible::scrollToSubstring(int startIndex, int endIndex) {
    output().select(startIndex, endIndex - startIndex);
}

// No attributes of its own: the colours say nothing a reader needs.
QString OutputAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = offset;
    return {};
}
