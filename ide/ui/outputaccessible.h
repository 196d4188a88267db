// The output window as assistive technology sees it: a read-only,
// multi-line text with a caret and one selection, as a text widget is, read
// from the window's store and told of appended lines and selection changes.
#pragma once

#include <QAccessibleWidget>
#include <cstdint>

class OutputWindow;

class OutputAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit OutputAccessible(OutputWindow* window);

    // Makes Qt hand out this interface for every output window; once is enough.
    static void install();
    static void announceSelection(OutputWindow& window);
    static void announceInsert(OutputWindow& window, std::int64_t position, const QString& text);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

  private:
    OutputWindow& output() const;
};
