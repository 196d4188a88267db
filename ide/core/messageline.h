// The one reading of a compiler message line: a table of message forms (the
// user's own first, then the built-in ones, one row per way a compiler
// writes), read once for each line of a child as it arrives. The colours,
// the counts, the editor jump, the next and previous message and the error
// help all take what this reading found.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"
#include "makedirectory.h"
#include "messageform.h"
#include "outputline.h"

// One row of the table: what it reads, its form, and the kind of a line it
// matches when the form has no %t.
struct BuiltInMessageForm {
    const char* caption;
    const char* form;
    LineKind kindWithoutWord;
};

// Every compiler family's forms, in the order they are tried.
std::span<const BuiltInMessageForm> BuiltInMessageForms();

// A form the user added: a caption and the form in the notation.
struct UserMessageForm {
    std::string caption;
    std::string form;
    bool operator==(const UserMessageForm&) const = default;
};

class MessageReader {
  public:
    // The user's forms are tried before the built-in ones; one that cannot
    // be read is left out, its caption and the reason added to unreadable.
    explicit MessageReader(common::CodePage cp, const std::vector<UserMessageForm>& userForms = {},
                           std::vector<std::string>* unreadable = nullptr);

    // What the line says, by the first form that matches it. A leading
    // build-pane prefix ("12>") is passed over.
    std::optional<MessageReading> read(std::string_view line) const;
    // The same into a reading of the caller's, whose texts keep their room
    // from line to line: true when a form matched.
    bool read(std::string_view line, MessageReading& reading) const;

  private:
    std::vector<MessageForm> forms_;
};

// The built-in forms alone, in the code page cp.
const MessageReader& BuiltInMessageReader(common::CodePage cp = common::activeCodePage());

// The lines of one run as they come: each one's reading, and for a message
// the folder make reported for it. The line read is the reader's own, valid
// until the next one: its texts keep their room, so that reading a line
// allocates nothing once lines of its length have come.
class OutputLineReader {
  public:
    explicit OutputLineReader(const MessageReader& reader) : reader_(reader) {}
    const OutputLine& read(std::string_view text);

  private:
    const MessageReader& reader_;
    MakeDirectoryTracker folders_;
    OutputLine line_;
    MessageReading spare_;  // the room of a reading while the line is none
};

// Where a message points, for the editor. A column of 0 means none given.
struct EditorJump {
    std::string fileName;
    unsigned long lineNumber = 0;
    unsigned long column = 0;
};

// A message that names a file leads to it; a linker's message does not.
bool LeadsToFile(const MessageReading& message);

// The place a message line points to, as the reader reads it; nullopt for
// a line that is no message or names no file.
std::optional<EditorJump> ParseMessageLine(std::string_view line,
                                           const MessageReader& reader = BuiltInMessageReader());

// File name, line number and column for the editor from a text the user
// selected: the place of a message, else the text read the compilers' way:
// the file name ends at the first "(" or, without one, at the first " ";
// the line number is the run of digits after that character (0 when there
// is none), no column. nullopt when the text is empty or begins with "("
// or " ".
std::optional<EditorJump> ParseEditorJump(std::string_view text,
                                          const MessageReader& reader = BuiltInMessageReader());

// The output's readings by line index, as the window keeps them: null for a
// line that is no message; a reading given is valid until the next call.
using ReadingAt = std::function<const MessageReading*(std::size_t index)>;

enum class SearchDirection { Next, Previous };

// The index of the first message line that leads to a file after (Next) or
// before (Previous) line `current` among lineCount lines. Without a current
// line the search starts above the first line, so Next finds the first
// message and Previous none. nullopt when there is no such line.
std::optional<std::size_t> FindMessageLine(std::size_t lineCount, const ReadingAt& readingAt,
                                           std::optional<std::size_t> current,
                                           SearchDirection direction);
