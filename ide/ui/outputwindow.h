// The output window: a read-only, append-only list of text lines with a
// selection, which keeps the last kMaxLines lines and at most kMaxCharacters
// characters (older lines leave from the top). Error and warning lines show
// in colour, summary lines in bold; copied text is plain.
//
// Appended lines are handed to the widget in batches, because laying the
// text out again for every single line would slow a long build down to a
// crawl; a batch is handed on once a frame has passed or once it is as large
// as the widget takes in about kBatchBudgetMs, so the window is never held
// up for long, and a child that writes faster than that waits on its pipe.
// Every reader of the text or the selection sees all lines appended so far.
#pragma once

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QVector>
#include <deque>
#include <optional>
#include <string>

#include "runner.h"

class OutputWindow : public QPlainTextEdit, public OutputLines {
    Q_OBJECT

  public:
    // Enough for any build worth reading; bounds the memory of one that
    // prints without end.
    static constexpr int kMaxLines = 100000;
    // Bounds the memory when the lines are long: 32 MB of text, about twice
    // that while the widget compacts its buffer.
    static constexpr qint64 kMaxCharacters = 16 * 1024 * 1024;
    // How long handing one batch to the widget may take.
    static constexpr qint64 kBatchBudgetMs = 12;

    // One line of the text and the position of its first character.
    struct Line {
        int start = 0;
        QString text;
    };

    explicit OutputWindow(QWidget* parent);

    // One line in the system's code page (the runner's lines).
    void append(OutputLine line) override;
    void append(std::string text, LineKind kind = LineKind::Plain);
    void appendLine(const QString& line, LineKind kind = LineKind::Plain);
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
    // What the message on that line says, as read when it arrived; null
    // for a line that is no message and past the last line.
    const MessageReading* messageAt(int index);
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
    QMimeData* createMimeDataFromSelection() const override;

  private:
    // What dropping one old line from the top is taken to cost until it has
    // been timed: about what the widget takes on a desktop machine.
    static constexpr qint64 kAssumedDropNs = 40000;

    struct PendingLine {
        QString text;
        LineKind kind;
        std::optional<MessageReading> message;
    };

    bool flushDue() const;
    QString plainSelection() const;  // line breaks as "\n"
    void insertPending();
    qint64 trimToBounds();  // the number of lines dropped
    void adaptBatchLimit(qint64 insertNsPerLine, qint64 dropped, qint64 dropNs);

    QVector<PendingLine> pending_;
    int batchLimit_ = 256;                   // lines per batch, adapted to the widget's speed
    qint64 dropNsPerLine_ = kAssumedDropNs;  // as last timed
    std::deque<int> lineLengths_;            // of every line in the widget, oldest first
    std::deque<std::optional<MessageReading>> messages_;  // beside lineLengths_
    qint64 characters_ = 0;                  // their sum
    QElapsedTimer sinceFlush_;
    bool releaseEndsDoubleClick_ = false;
};
