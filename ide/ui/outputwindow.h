// The output window: a read-only, append-only list of text lines with a
// selection, which keeps the last kMaxLines lines (older ones leave from the
// top). Appended lines are handed to the widget in batches, at most once per
// frame, because laying the text out again for every single line would slow
// a long build down to a crawl; every reader of the text or the selection
// sees all lines appended so far.
#pragma once

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QStringList>
#include <string>

#include "runner.h"

class OutputWindow : public QPlainTextEdit, public OutputLines {
    Q_OBJECT

  public:
    // Enough for any build worth reading; bounds the memory of one that
    // prints without end.
    static constexpr int kMaxLines = 100000;

    // One line of the text and the position of its first character.
    struct Line {
        int start = 0;
        QString text;
    };

    explicit OutputWindow(QWidget* parent);

    // One line in the system's code page (the runner's lines).
    void append(std::string line) override;
    void appendLine(const QString& line);
    // Hands the pending lines to the widget now.
    void flush();

    // Readers; each sees every line appended so far.
    QString text();
    int lineCount();
    int selectionStart();
    int selectionLength();
    QString selectedText();     // line breaks as "\n"
    Line lineAt(int position);  // the line that holds the position
    void select(int start, int length);
    void selectAllText();
    void erase();

    // true: wrap at the right edge, vertical scroll bar only; false: no
    // wrapping and both scroll bars.
    void setWrapping(bool wrap);

    // Lines by number, 0 the first, for the search of message lines and the
    // folder make was in at a line.
    QString lineText(int index);     // empty past the last line
    int lineNumberAt(int position);  // the line that holds the position
    void selectLine(int index);      // the whole line, scrolled into view

  signals:
    void clicked();
    void doubleClicked();

  protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool flushDue() const;

    QStringList pending_;
    int lines_ = 0;  // lines in the widget, so a first empty line counts
    QElapsedTimer sinceFlush_;
    bool releaseEndsDoubleClick_ = false;
};
