// A message form: how one compiler writes its message lines, in a small
// notation of its own, and its matcher.
//
//   %f  the file name: any text of at least one character without "(",
//       that begins with neither a blank nor ":"
//   %l  the line number, %c the column: a run of decimal digits
//   %t  the kind word: error, warning, note, fatal, fatal error, "エラー"
//       or "警告" (ASCII letters in any case); fatal is an error
//   %n  the message number: a run of ASCII letters and digits
//   %m  the message, %* any text: any text, also none
//   %%  a percent sign; every other character stands for itself
//
// A form matches a whole line. Each of %f, %l, %c, %t, %n is allowed once.
// Where a line can be matched more than one way, the text directives take as
// little as they can, left to right, and digit and number runs take all the
// characters of their kind that follow.
//
// Matching costs at most 2 x (tokens + 1) x (line length + 1) steps, each
// bounded by the form's length: a token at a position of the line is tried
// once and, when it failed, never again, so no form and no line can make
// the matcher backtrack without end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"
#include "outputline.h"
#include "uitext.h"

// The longest form read; a longer one cannot be read.
inline constexpr std::size_t kMaxFormLength = 256;

// Which bytes a line holds, once or more than once, taken once per line and
// shared by every form tried on it: a form whose fixed text holds a byte the
// line lacks, or twice a byte the line holds once, is passed over without a
// search. Bytes are kept by kind: each punctuation mark, digit and blank
// apart, each letter in either case, the rest in a few groups; a byte stands
// for its group, so a line may seem to hold a byte it lacks, never the
// other way.
class LineProfile {
  public:
    // Groups of bytes, one bit each.
    struct Groups {
        std::uint64_t once = 0;   // held at least once
        std::uint64_t twice = 0;  // held at least twice
    };

    explicit LineProfile(std::string_view line) : held_(groupsOf(line)) {}
    static Groups groupsOf(std::string_view bytes);
    bool mayHold(const Groups& needed) const {
        return (needed.once & ~held_.once) == 0 && (needed.twice & ~held_.twice) == 0;
    }

  private:
    Groups held_;
};

class MessageForm {
  public:
    // The form, or the reason it cannot be read (in Japanese, for the
    // user). kindWithoutWord is the kind of a line matched by a form without
    // %t. cp is the code page of the form and of the lines it reads.
    struct Compiled;
    static Compiled compile(std::string_view notation, common::CodePage cp,
                            LineKind kindWithoutWord = LineKind::Error);

    // True when the form matches the line; reading then holds what the
    // line says (every field written, the folder empty), and is left
    // half-written otherwise, so that one reading serves line after line.
    bool match(std::string_view line, const LineProfile& profile, MessageReading& reading) const;
    // What the line says when the form matches it; nullopt otherwise.
    std::optional<MessageReading> match(std::string_view line) const;

    // The steps the last match took (a step is one token tried at one
    // position), and the most it may take on a line of that length.
    std::size_t lastSteps() const { return steps_; }
    std::size_t stepBound(std::size_t lineLength) const {
        return 2 * (tokens_.size() + 1) * (lineLength + 1);
    }

    enum class Directive { Literal, File, Line, Column, Kind, Number, Message, Any };
    struct Token {
        Directive directive;
        std::string literal;  // for Literal
    };

  private:
    class Matching;
    friend class Matching;

    // A kind word in the form's code page and the kind it stands for.
    struct KindWord {
        std::string text;
        LineKind kind;
        bool ascii;  // in lower case, compared in either letter case
    };

    std::vector<Token> tokens_;
    LineProfile::Groups literalGroups_;  // of the bytes of its fixed text
    bool hasLine_ = false;
    std::vector<KindWord> kindWords_;
    LineKind kindWithoutWord_ = LineKind::Error;
    mutable std::size_t steps_ = 0;
};

struct MessageForm::Compiled {
    std::optional<MessageForm> form;
    std::string error;  // empty when the form was read
};

// The decimal digits as a number; the largest one for an absurdly long run.
unsigned long DecimalValue(std::string_view digits);

// What the form reads in the example line, for the user to see at once:
// "ファイル: hello.c  行: 12  桁: 3  種類: エラー" (桁 only when the line
// gives a column, 番号 when it gives a number), "当てはまりません" when the
// form does not match it, or why the form cannot be read.
UiText DescribeFormReading(std::string_view form, std::string_view example, common::CodePage cp);
