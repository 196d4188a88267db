// One line of a run's output as the output window holds it: its text in the
// IDE's code page, what it is (for the colours, the counts and the jumps),
// and, for a compiler message, what the message says, read once when the line
// arrived so that nothing reads the text again.
#pragma once

#include <optional>
#include <string>

// Error, Warning and Note are a child's message lines; Ide the lines the IDE
// writes itself, Summary the IDE's line a build step ends with.
enum class LineKind { Plain, Error, Warning, Note, Ide, Summary };

// Where a compiler message points and what it is.
struct MessageReading {
    LineKind kind = LineKind::Error;  // Error, Warning or Note
    std::string file;                 // as written; empty when the message names none
    unsigned long line = 0;           // 0: none given
    unsigned long column = 0;         // 0: none given
    std::string number;               // the message number ("C2065"), empty when none
    std::string directory;            // the folder make reported for the line, empty for none

    bool operator==(const MessageReading&) const = default;
};

struct OutputLine {
    std::string text;
    LineKind kind = LineKind::Plain;
    std::optional<MessageReading> message;
};

// The list that receives a run's lines (the output window's).
class OutputLines {
  public:
    virtual ~OutputLines() = default;
    virtual void append(const OutputLine& line) = 0;
};
