// The output window: a read-only, append-only list of text lines with a
// selection. The lines live in the window's own store (OutputStore), which
// keeps the last kMaxLines lines and at most 128 MiB of text;
// the view lays out and draws only the rows on screen, from that store.
// Error and warning lines show in colour, notes in a quieter one, summary
// lines in bold; copied or dragged text is plain.
//
// An appended line goes into the store at once, so every reader sees all
// lines appended so far; the scroll bars and the screen catch up at most
// once a frame, and whenever the event loop goes idle.
#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QTextCharFormat>
#include <cstdint>
#include <string>

#include "outputrows.h"
#include "outputstore.h"
#include "runner.h"

class QMimeData;

class OutputWindow : public QAbstractScrollArea, public OutputLines {
    Q_OBJECT

  public:
    static constexpr int kMaxLines = static_cast<int>(OutputStore::kMaxLines);
    // Of lines below U+0100, one byte a character; of any other, two.
    static constexpr qint64 kMaxCharacters = static_cast<qint64>(OutputStore::kMaxTextBytes);

    // One line of the text and the position of its first character.
    struct Line {
        int start = 0;
        QString text;
    };

    explicit OutputWindow(QWidget* parent);

    // One line in the system's code page (the runner's lines).
    void append(const OutputLine& line) override;
    void append(std::string text, LineKind kind = LineKind::Plain);
    void appendLine(const QString& line, LineKind kind = LineKind::Plain);
    // Brings the scroll bars and the screen up to the lines appended.
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
    bool wrapping() const { return rows_.wrapping(); }

    // Lines by number, 0 the first, for the search of message lines and the
    // folder make was in at a line.
    QString lineText(int index);  // empty past the last line
    // What the message on that line says, as read when it arrived; null
    // for a line that is no message and past the last line. Valid until the
    // next call and the next line appended.
    const MessageReading* messageAt(int index);
    int lineNumberAt(int position);  // the line that holds the position
    void selectLine(int index);      // the whole line, scrolled into view

    // How a line is drawn: the colour or weight of its kind.
    QTextCharFormat lineFormat(int index) const;
    // The caret's rectangle at a position, in the viewport's coordinates;
    // null when that row is not on screen.
    QRect cursorRect(int position);
    // The position under a point of the viewport.
    int positionAt(QPoint point);
    // The next (or previous) match of `needle` after the selection's end
    // (before its start) is selected and scrolled into view; false when
    // there is none, and the selection stays.
    bool find(const QString& needle, bool forward, Qt::CaseSensitivity sensitivity);

  signals:
    void clicked();
    void doubleClicked();
    // Lines appended or erased: once after the selection was placed.
    void contentsChanged();
    void selectionChanged();  // the caret or the selection was placed

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QMimeData* createMimeDataFromSelection() const;

  private:
    friend class OutputAccessible;

    // The selection is kept in positions counted since the last erase (the
    // store's origin and on), so that lines leaving from the top move
    // nothing; the readers see positions of the held text.
    std::int64_t held(std::int64_t absolute) const;  // within the held text, still absolute
    std::int64_t relative(std::int64_t absolute) const { return held(absolute) - store_.origin(); }
    std::int64_t absolute(std::int64_t position) const { return held(position + store_.origin()); }
    QString textBetween(std::int64_t from, std::int64_t to) const;  // relative positions
    OutputRows::Marks marks() const;

    void appended(std::size_t characters);
    void placeSelection(std::int64_t anchor, std::int64_t caret);  // absolute
    void moveCaret(std::int64_t caret, bool extend);               // absolute
    void showCaret();
    void setTop(OutputRows::Place top);
    int visibleRows() const;
    int scrolledX() const;
    void updateScrollBars();
    void announceAppended();
    std::int64_t positionUnder(QPoint point);  // absolute
    void startDrag();

    const common::CodePage codePage_;  // of the lines given as bytes
    OutputStore store_;
    OutputRows rows_{store_};
    std::int64_t anchor_ = 0;
    std::int64_t caret_ = 0;
    OutputRows::Place top_;           // the first row on screen
    bool follow_ = true;              // the screen shows the last row and follows new ones
    std::size_t longest_ = 0;         // characters of the longest line since the erase
    std::int64_t announcedEnd_ = 0;   // absolute end of the text assistive technology knows
    bool dirty_ = false;              // lines appended since the screen last caught up
    bool contentsAnnounced_ = false;  // contentsChanged sent since the selection was placed
    unsigned appendsSinceLook_ = 0;
    bool settingBars_ = false;  // the window moves the bars itself
    bool selecting_ = false;    // a drag with the left button selects
    bool mayDrag_ = false;      // a press inside the selection may drag it out
    QPoint pressedAt_;
    bool releaseEndsDoubleClick_ = false;
    QElapsedTimer sinceRefresh_;
};
