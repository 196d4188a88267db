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

// How often each byte occurs in a line, counted once per line and shared by
// every form tried on it: a form whose fixed text needs more of a byte than
// the line has is passed over without matching.
class LineProfile {
  public:
    explicit LineProfile(std::string_view line);
    bool holds(unsigned char byte, std::uint32_t count) const { return counts_[byte] >= count; }
    bool holdsDigits(std::uint32_t count) const { return digits_ >= count; }

  private:
    std::uint32_t counts_[256] = {};
    std::uint32_t digits_ = 0;
};

class MessageForm {
  public:
    // The form, or the reason it cannot be read (in Japanese, for the
    // user). kindWithoutWord is the kind of a line matched by a form without
    // %t. cp is the code page of the form and of the lines it reads.
    struct Compiled;
    static Compiled compile(std::string_view notation, common::CodePage cp,
                            LineKind kindWithoutWord = LineKind::Error);

    // What the line says when the form matches it; nullopt otherwise.
    std::optional<MessageReading> match(std::string_view line, const LineProfile& profile) const;
    std::optional<MessageReading> match(std::string_view line) const {
        return match(line, LineProfile(line));
    }

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

    std::vector<Token> tokens_;
    std::vector<std::pair<unsigned char, std::uint32_t>> requiredBytes_;
    std::uint32_t requiredDigits_ = 0;
    std::vector<std::string> kindWords_;  // in the form's code page
    LineKind kindWithoutWord_ = LineKind::Error;
    mutable std::size_t steps_ = 0;
};

struct MessageForm::Compiled {
    std::optional<MessageForm> form;
    std::string error;  // empty when the form was read
};

// The decimal digits as a number; the largest one for an absurdly long run.
unsigned long DecimalValue(std::string_view digits);

// The kind a kind word stands for (Error for error, fatal and fatal error).
LineKind KindOfWord(std::string_view word);

// What the form reads in the example line, for the user to see at once:
// "ファイル: hello.c  行: 12  桁: 3  種類: エラー" (桁 only when the line
// gives a column, 番号 when it gives a number), "当てはまりません" when the
// form does not match it, or why the form cannot be read.
UiText DescribeFormReading(std::string_view form, std::string_view example,
                           common::CodePage cp);
