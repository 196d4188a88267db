// Command lines made from a template the user wrote and values taken from
// elsewhere (a project's names, a file named in a compiler's output, a file
// the user picked): the template's own text keeps its meaning, and each value
// reaches the program as the literal text it is, whatever quoting the
// template puts around it, so a value can never add an argument or run a
// command of its own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "codepage.h"

// How a command line is taken apart when it runs.
enum class CommandSyntax {
    Windows,  // split into arguments as Windows programs split their own
              // command line: blanks separate, double quotes group, a
              // backslash escapes only before a quote
    Shell,    // "cmd /c <rest>" outside Windows: <rest> is run by /bin/sh -c
};

// The rest of a "cmd /c<rest>" line ("cmd" or "cmd.exe" in any case, then
// "/c" or "/C" with or without a blank before the rest); nullopt for any
// other line.
std::optional<std::string> CommandInterpreterRest(std::string_view commandLine);

// The syntax under which a whole command line runs: Shell for a "cmd /c"
// line outside Windows, otherwise Windows. The runner starts a line by it,
// and CommandLineBuilder builds each line by it, so the two never differ.
CommandSyntax CommandSyntaxOf(std::string_view commandLine);

// The syntax of every line that begins with `start`, once `start` settles
// it: a complete "cmd /c" settles Shell, a beginning no "cmd /c" line has
// settles Windows; nullopt while either may follow.
std::optional<CommandSyntax> SettledCommandSyntax(std::string_view start);

enum class ValueQuotes {
    WhenNeeded,  // only a value that needs them gets quotes
    Always,      // quoted where the template leaves it unquoted
};

// Builds a command line under the syntax that the line itself will run by
// (CommandSyntaxOf): the syntax is settled by the line's beginning, and a
// value that comes while the beginning still leaves it open is quoted where
// it could complete a "cmd /c", so that no value can make the line the
// shell's: a value cannot bring in the syntax its quoting did not follow.
class CommandLineBuilder {
  public:
    explicit CommandLineBuilder(common::CodePage cp);

    // Text of the template, taken as written; whole characters only.
    void appendTemplate(std::string_view text);

    // A value that the program receives as exactly these bytes, inside the
    // argument the template is building at this point. An empty value adds
    // nothing. (A program name cannot carry a double quote: one in a value
    // there is dropped.)
    void appendValue(std::string_view value, ValueQuotes quotes = ValueQuotes::WhenNeeded);

    // The command line so far.
    std::string text() const;

    // The syntax the line runs by, as far as it is built.
    CommandSyntax syntax() const;

  private:
    void settle(CommandSyntax syntax);
    void appendSettledTemplate(std::string_view text);
    void appendWindowsTemplate(std::string_view character);
    void appendWindowsValue(std::string_view value, ValueQuotes quotes);
    void writeQuote(bool literal);
    void appendProgramNameValue(std::string_view value, ValueQuotes quotes);
    void appendShellTemplate(char byte);
    void appendShellValue(std::string_view value, ValueQuotes quotes);

    // The Windows rules.
    enum class Phase { Leading, Program, Arguments };
    // A double quote just written that ends a quoted part, unless the next
    // character is another quote (which would make the pair a literal quote).
    enum class Closing { None, ByTemplate, ByValue };

    // The shell's rules.
    enum class ShellQuote { None, Single, Double };

    std::optional<CommandSyntax> syntax_;  // nullopt while the line's beginning leaves it open
    std::string unsettled_;                // that beginning: template text, not yet followed
    common::CodePage cp_;
    std::string line_;

    Phase phase_ = Phase::Leading;
    bool quoted_ = false;
    std::size_t pendingBackslashes_ = 0;   // literal backslashes not yet written
    std::size_t templateBackslashes_ = 0;  // the template's after them, not yet written
    Closing closing_ = Closing::None;

    ShellQuote shellQuote_ = ShellQuote::None;
    bool shellEscape_ = false;  // the template's last byte is an escaping backslash
};
